#include "scheduler/call_activity_win.h"

namespace pausora {

bool SessionsRecord(IAudioSessionManager2& manager, DWORD ownProcess) {
    ComPtr<IAudioSessionEnumerator> sessions;
    int count = 0;
    if (FAILED(manager.GetSessionEnumerator(&sessions)) || sessions == nullptr ||
        FAILED(sessions->GetCount(&count))) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        ComPtr<IAudioSessionControl> session;
        ComPtr<IAudioSessionControl2> withProcess;
        AudioSessionState state = AudioSessionStateInactive;
        DWORD process = 0;
        // A session shared by several processes has no single id and says
        // so with a success code of its own; any process but ours counts.
        if (SUCCEEDED(sessions->GetSession(i, &session)) && session != nullptr &&
            SUCCEEDED(session->GetState(&state)) && state == AudioSessionStateActive &&
            SUCCEEDED(session.As(&withProcess)) && SUCCEEDED(withProcess->GetProcessId(&process)) &&
            process != ownProcess) {
            return true;
        }
    }
    return false;
}

void MicrophoneWatch::Refresh() {
    m_managers.clear();
    if (!m_tried) {
        m_tried = true;
        ::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                           IID_PPV_ARGS(&m_devices));
    }
    ComPtr<IMMDeviceCollection> devices;
    UINT count = 0;
    if (m_devices == nullptr ||
        FAILED(m_devices->EnumAudioEndpoints(eCapture, DEVICE_STATE_ACTIVE, &devices)) ||
        FAILED(devices->GetCount(&count))) {
        return;
    }
    for (UINT i = 0; i < count; ++i) {
        ComPtr<IMMDevice> device;
        ComPtr<IAudioSessionManager2> manager;
        if (SUCCEEDED(devices->Item(i, &device)) &&
            SUCCEEDED(device->Activate(__uuidof(IAudioSessionManager2), CLSCTX_INPROC_SERVER,
                                       nullptr,
                                       reinterpret_cast<void**>(manager.GetAddressOf())))) {
            m_managers.push_back(std::move(manager));
        }
    }
}

bool MicrophoneWatch::InUse() {
    if (m_untilRefresh == 0) {
        Refresh();
        m_untilRefresh = 60;
    }
    --m_untilRefresh;
    const DWORD self = ::GetCurrentProcessId();
    for (const ComPtr<IAudioSessionManager2>& manager : m_managers) {
        if (SessionsRecord(*manager.Get(), self)) {
            return true;
        }
    }
    return false;
}

bool ReportShowsCamera(IMFSensorActivitiesReport& report, DWORD ownProcess) {
    ULONG devices = 0;
    if (FAILED(report.GetCount(&devices))) {
        return false;
    }
    for (ULONG d = 0; d < devices; ++d) {
        ComPtr<IMFSensorActivityReport> device;
        ULONG processes = 0;
        if (FAILED(report.GetActivityReport(d, &device)) || device == nullptr ||
            FAILED(device->GetProcessCount(&processes))) {
            continue;
        }
        for (ULONG p = 0; p < processes; ++p) {
            ComPtr<IMFSensorProcessActivity> activity;
            ULONG process = 0;
            BOOL streaming = FALSE;
            if (SUCCEEDED(device->GetProcessActivity(p, &activity)) && activity != nullptr &&
                SUCCEEDED(activity->GetProcessId(&process)) &&
                SUCCEEDED(activity->GetStreamingState(&streaming)) && streaming &&
                process != ownProcess) {
                return true;
            }
        }
    }
    return false;
}

namespace {
using CreateMonitor = HRESULT(WINAPI*)(IMFSensorActivitiesReportCallback*,
                                       IMFSensorActivityMonitor**);
}  // namespace

CameraWatch::CameraWatch() {
    // Looked up rather than linked: before Windows 10 2004, and under Wine,
    // the library or the function is not there.
    m_library = ::LoadLibraryExW(L"mfsensorgroup.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const auto create = m_library == nullptr
                            ? nullptr
                            : reinterpret_cast<CreateMonitor>(reinterpret_cast<void*>(
                                  ::GetProcAddress(m_library, "MFCreateSensorActivityMonitor")));
    if (create == nullptr || FAILED(create(this, &m_monitor)) || m_monitor == nullptr ||
        FAILED(m_monitor->Start())) {
        m_monitor.Reset();
    }
}

CameraWatch::~CameraWatch() {
    if (m_monitor != nullptr) {
        m_monitor->Stop();  // returns once no report is under way
        m_monitor.Reset();
    }
    if (m_library != nullptr) {
        ::FreeLibrary(m_library);
    }
}

HRESULT CameraWatch::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IMFSensorActivitiesReportCallback)) {
        *out = static_cast<IMFSensorActivitiesReportCallback*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT CameraWatch::OnActivitiesReport(IMFSensorActivitiesReport* report) {
    // Each report tells the whole present state of the cameras.
    m_inUse = report != nullptr && ReportShowsCamera(*report, ::GetCurrentProcessId());
    return S_OK;
}

}  // namespace pausora
