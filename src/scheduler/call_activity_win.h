// Whether another program is in a call, as far as the devices tell: it
// records from a microphone (Core Audio's capture sessions) or streams from
// a camera (Media Foundation's sensor activity, Windows 10 2004 and later).
// Every failing call counts as "no": a system that cannot say is not busy.
#pragma once

#include <windows.h>

#include <audiopolicy.h>
#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <atomic>
#include <vector>

// The parts of Media Foundation's sensor activity reports that are used.
// The SDK headers of MinGW lack them; the layouts are the documented ones.
enum MFSensorDeviceModeValue : int {};
MIDL_INTERFACE("39dc7f4a-b141-4719-813c-a7f46162a2b8")
IMFSensorProcessActivity : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetProcessId(ULONG * processId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStreamingState(BOOL * streaming) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStreamingMode(MFSensorDeviceModeValue * mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReportTime(FILETIME * time) = 0;
};
MIDL_INTERFACE("3e8c4be1-a8c2-4528-90de-2851bde5fead")
IMFSensorActivityReport : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetFriendlyName(LPWSTR name, ULONG size, ULONG * written) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSymbolicLink(LPWSTR link, ULONG size, ULONG * written) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProcessCount(ULONG * count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProcessActivity(ULONG index,
                                                         IMFSensorProcessActivity * *activity) = 0;
};
MIDL_INTERFACE("683f7a5e-4a19-43cd-b1a9-dbf4ab3f7777")
IMFSensorActivitiesReport : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetCount(ULONG * count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetActivityReport(ULONG index,
                                                        IMFSensorActivityReport * *report) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetActivityReportByDeviceName(
        LPCWSTR link, IMFSensorActivityReport * *report) = 0;
};
MIDL_INTERFACE("de5072ee-dbe3-46dc-8a87-b6f631194751")
IMFSensorActivitiesReportCallback : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE OnActivitiesReport(IMFSensorActivitiesReport * report) = 0;
};
MIDL_INTERFACE("d0cef145-b3f4-4340-a2e5-7a5080ca05cb")
IMFSensorActivityMonitor : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Start() = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
};

__CRT_UUID_DECL(IMFSensorActivitiesReportCallback, 0xde5072ee, 0xdbe3, 0x46dc, 0x8a, 0x87, 0xb6,
                0xf6, 0x31, 0x19, 0x47, 0x51)

namespace pausora {

using Microsoft::WRL::ComPtr;

// A session of `manager` records for a process other than `ownProcess`.
bool SessionsRecord(IAudioSessionManager2& manager, DWORD ownProcess);

// The capture devices' session managers, kept for the program's life. COM
// must be initialised on the thread that asks.
class MicrophoneWatch {
  public:
    bool InUse();

  private:
    void Refresh();

    ComPtr<IMMDeviceEnumerator> m_devices;
    bool m_tried = false;
    std::vector<ComPtr<IAudioSessionManager2>> m_managers;
    // A microphone plugged in later is found at the next look over the
    // devices, once a minute: activating every device every second is the
    // cost to avoid.
    unsigned m_untilRefresh = 0;
};

// A camera of `report` streams for a process other than `ownProcess`.
bool ReportShowsCamera(IMFSensorActivitiesReport& report, DWORD ownProcess);

// Listens to the system's reports, which come on a thread of its own, and
// keeps the last answer. Nothing where the system has no such reports.
class CameraWatch final : public IMFSensorActivitiesReportCallback {
  public:
    CameraWatch();
    CameraWatch(const CameraWatch&) = delete;
    CameraWatch& operator=(const CameraWatch&) = delete;
    ~CameraWatch();
    bool InUse() const { return m_inUse.load(); }

    // The callback's IUnknown: the object lives as long as its owner, who
    // stops the reports before it goes.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnActivitiesReport(IMFSensorActivitiesReport* report) override;

  private:
    HMODULE m_library = nullptr;
    ComPtr<IMFSensorActivityMonitor> m_monitor;
    std::atomic<bool> m_inUse{false};
};

}  // namespace pausora
