// What counts as a call: a microphone's active session or a streaming
// camera of another process. Wine reports neither across processes, so
// the adapters are driven here through fakes of the system's interfaces.
#include "scheduler/call_activity_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace pausora {
namespace {

#define PAUSORA_UNUSED(name, ...)                          \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { \
        return E_NOTIMPL;                                  \
    }

// Owned by the test; the adapter's references come and go freely.
template <typename Interface>
struct Fake : Interface {
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

struct FakeSession final : Fake<IAudioSessionControl2> {
    AudioSessionState state;
    DWORD process;
    HRESULT processResult = S_OK;
    bool knowsProcess = true;  // answers for IAudioSessionControl2

    FakeSession(AudioSessionState s, DWORD p, HRESULT r = S_OK, bool k = true)
        : state(s), process(p), processResult(r), knowsProcess(k) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IAudioSessionControl2) && !knowsProcess) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IAudioSessionControl2*>(this);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetState(AudioSessionState* out) override {
        *out = state;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetProcessId(DWORD* out) override {
        *out = process;
        return processResult;
    }
    PAUSORA_UNUSED(GetDisplayName, LPWSTR*)
    PAUSORA_UNUSED(SetDisplayName, LPCWSTR, LPCGUID)
    PAUSORA_UNUSED(GetIconPath, LPWSTR*)
    PAUSORA_UNUSED(SetIconPath, LPCWSTR, LPCGUID)
    PAUSORA_UNUSED(GetGroupingParam, GUID*)
    PAUSORA_UNUSED(SetGroupingParam, LPCGUID, LPCGUID)
    PAUSORA_UNUSED(RegisterAudioSessionNotification, IAudioSessionEvents*)
    PAUSORA_UNUSED(UnregisterAudioSessionNotification, IAudioSessionEvents*)
    PAUSORA_UNUSED(GetSessionIdentifier, LPWSTR*)
    PAUSORA_UNUSED(GetSessionInstanceIdentifier, LPWSTR*)
    PAUSORA_UNUSED(IsSystemSoundsSession)
    PAUSORA_UNUSED(SetDuckingPreference, WINBOOL)
};

// A session manager and its enumerator in one.
struct FakeDevice final : Fake<IAudioSessionManager2> {
    struct Sessions final : Fake<IAudioSessionEnumerator> {
        std::vector<FakeSession>* list = nullptr;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        HRESULT STDMETHODCALLTYPE GetCount(int* out) override {
            *out = static_cast<int>(list->size());
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE GetSession(int i, IAudioSessionControl** out) override {
            *out = &(*list)[static_cast<std::size_t>(i)];
            return S_OK;
        }
    } enumerator;
    std::vector<FakeSession> sessions;
    bool enumerates = true;

    explicit FakeDevice(std::vector<FakeSession> s, bool e = true)
        : sessions(std::move(s)), enumerates(e) {
        enumerator.list = &sessions;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE GetSessionEnumerator(IAudioSessionEnumerator** out) override {
        *out = enumerates ? &enumerator : nullptr;
        return enumerates ? S_OK : E_FAIL;
    }
    PAUSORA_UNUSED(GetAudioSessionControl, LPCGUID, DWORD, IAudioSessionControl**)
    PAUSORA_UNUSED(GetSimpleAudioVolume, LPCGUID, DWORD, ISimpleAudioVolume**)
    PAUSORA_UNUSED(RegisterSessionNotification, IAudioSessionNotification*)
    PAUSORA_UNUSED(UnregisterSessionNotification, IAudioSessionNotification*)
    PAUSORA_UNUSED(RegisterDuckNotification, LPCWSTR, IAudioVolumeDuckNotification*)
    PAUSORA_UNUSED(UnregisterDuckNotification, IAudioVolumeDuckNotification*)
};

constexpr DWORD kUs = 100;
constexpr DWORD kThem = 200;
// AUDCLNT_S_NO_SINGLE_PROCESS, which the MinGW headers lack.
constexpr HRESULT kSeveralProcesses = 0x0889000D;

TEST(CallActivityTest, AnotherProcessRecordingFromAMicrophoneCounts) {
    const auto active = AudioSessionStateActive;
    const auto inactive = AudioSessionStateInactive;
    const struct {
        const char* what;
        FakeDevice device;
        bool records;
    } cases[] = {
        {"no session", FakeDevice({}), false},
        {"another's, recording", FakeDevice({{active, kThem}}), true},
        {"ours, recording", FakeDevice({{active, kUs}}), false},
        {"another's, idle", FakeDevice({{inactive, kThem}, {AudioSessionStateExpired, kThem}}),
         false},
        {"ours, then another's", FakeDevice({{inactive, kThem}, {active, kUs}, {active, kThem}}),
         true},
        {"shared by several processes", FakeDevice({{active, 0, kSeveralProcesses}}), true},
        {"no process id", FakeDevice({{active, kThem, E_FAIL}}), false},
        {"no second interface", FakeDevice({{active, kThem, S_OK, false}}), false},
        {"no enumerator", FakeDevice({{active, kThem}}, false), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SessionsRecord(const_cast<FakeDevice&>(c.device), kUs), c.records) << c.what;
    }
}

struct FakeProcess final : Fake<IMFSensorProcessActivity> {
    ULONG process;
    BOOL streaming;
    FakeProcess(ULONG p, BOOL s) : process(p), streaming(s) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE GetProcessId(ULONG* out) override {
        *out = process;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStreamingState(BOOL* out) override {
        *out = streaming;
        return S_OK;
    }
    PAUSORA_UNUSED(GetStreamingMode, MFSensorDeviceModeValue*)
    PAUSORA_UNUSED(GetReportTime, FILETIME*)
};

struct FakeCamera final : Fake<IMFSensorActivityReport> {
    std::vector<FakeProcess> processes;
    explicit FakeCamera(std::vector<FakeProcess> p) : processes(std::move(p)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE GetProcessCount(ULONG* out) override {
        *out = static_cast<ULONG>(processes.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetProcessActivity(ULONG i, IMFSensorProcessActivity** out) override {
        *out = &processes[i];
        return S_OK;
    }
    PAUSORA_UNUSED(GetFriendlyName, LPWSTR, ULONG, ULONG*)
    PAUSORA_UNUSED(GetSymbolicLink, LPWSTR, ULONG, ULONG*)
};

struct FakeReport final : Fake<IMFSensorActivitiesReport> {
    std::vector<FakeCamera> cameras;
    explicit FakeReport(std::vector<FakeCamera> c) : cameras(std::move(c)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE GetCount(ULONG* out) override {
        *out = static_cast<ULONG>(cameras.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetActivityReport(ULONG i, IMFSensorActivityReport** out) override {
        *out = &cameras[i];
        return S_OK;
    }
    PAUSORA_UNUSED(GetActivityReportByDeviceName, LPCWSTR, IMFSensorActivityReport**)
};

TEST(CallActivityTest, TheLastCameraReportSaysWhetherAnotherProcessStreams) {
    const DWORD self = ::GetCurrentProcessId();
    const struct {
        const char* what;
        FakeReport report;
        bool inUse;
    } cases[] = {
        {"no camera", FakeReport({}), false},
        {"another's, streaming", FakeReport({FakeCamera({{self + 4, TRUE}})}), true},
        {"ours, streaming", FakeReport({FakeCamera({{self, TRUE}})}), false},
        {"another's, stopped", FakeReport({FakeCamera({{self + 4, FALSE}})}), false},
        {"second camera", FakeReport({FakeCamera({}), FakeCamera({{self + 4, TRUE}})}), true},
    };
    // Wine has no sensor monitor: the watch is there, silent, until a
    // report comes through its callback as the system's would.
    CameraWatch watch;
    EXPECT_FALSE(watch.InUse());
    for (const auto& c : cases) {
        watch.OnActivitiesReport(const_cast<FakeReport*>(&c.report));
        EXPECT_EQ(watch.InUse(), c.inUse) << c.what;
    }
    IUnknown* unknown = nullptr;
    EXPECT_EQ(watch.QueryInterface(__uuidof(IMFSensorActivitiesReportCallback),
                                   reinterpret_cast<void**>(&unknown)),
              S_OK);
}

}  // namespace
}  // namespace pausora
