#include "update/update_check_win.h"
#include "ui/utf.h"

#include <wininet.h>

#include <mutex>
#include <utility>

namespace pausora {
namespace {

// One request, shared by the thread that makes it and the one that waits for
// it. Whoever comes first closes the root handle: the request thread when it
// is done, the waiting one to cancel a request it no longer waits for.
struct FetchJob {
    UpdateServer server;
    std::string version;
    UpdateLimits limits;

    std::mutex mutex;
    HINTERNET root = nullptr;
    bool abandoned = false;
    UpdateReply reply;

    void CloseRoot() {
        if (root != nullptr) {
            ::InternetCloseHandle(root);
            root = nullptr;
        }
    }
};

// Set on every handle of the request: not every WinInet passes them down.
void SetTimeouts(HINTERNET handle, const UpdateLimits& limits) {
    const auto set = [handle](DWORD option, DWORD value) {
        ::InternetSetOption(handle, option, &value, sizeof value);
    };
    set(INTERNET_OPTION_CONNECT_TIMEOUT, limits.connectMs);
    set(INTERNET_OPTION_CONNECT_RETRIES, 1);
    set(INTERNET_OPTION_SEND_TIMEOUT, limits.sendMs);
    set(INTERNET_OPTION_DATA_SEND_TIMEOUT, limits.sendMs);
    set(INTERNET_OPTION_RECEIVE_TIMEOUT, limits.receiveMs);
    set(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, limits.receiveMs);
}

// The request itself: status 200 is read once, anything else not at all.
UpdateReply Ask(HINTERNET root, const UpdateServer& server, std::string_view version,
                const UpdateLimits& limits) {
    UpdateReply reply;
    const HINTERNET connection = ::InternetConnect(root, Widen(server.host).c_str(), server.port,
                                                   nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (connection == nullptr) {
        return reply;
    }
    SetTimeouts(connection, limits);
    const std::string object = CheckVersionObject(version);
    // Redirects are not followed. The answer is asked for every time and
    // kept in no cache: a stored one would go on offering an old version.
    const DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT |
                        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    const HINTERNET request = ::HttpOpenRequest(connection, L"GET", Widen(object).c_str(), nullptr,
                                                nullptr, nullptr, flags, 1);
    if (request != nullptr) {
        SetTimeouts(request, limits);
        const std::wstring headers = Widen(kCheckRequestHeaders);
        ::HttpAddRequestHeaders(request, headers.c_str(), static_cast<DWORD>(headers.size()),
                                HTTP_ADDREQ_FLAG_ADD_IF_NEW);
        DWORD status = 0;
        DWORD size = sizeof status;
        if (::HttpSendRequest(request, nullptr, 0, nullptr, 0) &&
            ::HttpQueryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                            &size, nullptr)) {
            reply.status = status;
            if (status == kHttpOk) {
                char buffer[kMaxAnswerBytes];
                DWORD read = 0;
                if (::InternetReadFile(request, buffer, sizeof buffer, &read)) {
                    reply.body.assign(buffer, std::min<std::size_t>(read, sizeof buffer));
                    reply.received = true;
                }
            } else {
                reply.received = true;
            }
        }
        ::InternetCloseHandle(request);
    }
    ::InternetCloseHandle(connection);
    return reply;
}

DWORD WINAPI FetchThread(void* parameter) {
    const std::unique_ptr<std::shared_ptr<FetchJob>> owned(
        static_cast<std::shared_ptr<FetchJob>*>(parameter));
    FetchJob& job = **owned;

    const HINTERNET root = ::InternetOpen(L"", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (root == nullptr) {
        return 0;
    }
    SetTimeouts(root, job.limits);
    {
        const std::lock_guard lock(job.mutex);
        if (job.abandoned) {
            ::InternetCloseHandle(root);
            return 0;
        }
        job.root = root;
    }
    UpdateReply reply = Ask(root, job.server, job.version, job.limits);
    const std::lock_guard lock(job.mutex);
    job.CloseRoot();
    if (!job.abandoned) {
        job.reply = std::move(reply);
    }
    return 0;
}

}  // namespace

UpdateReply FetchUpdateReply(const UpdateServer& server, std::string_view version,
                             const UpdateLimits& limits, HANDLE abort) {
    auto job = std::make_shared<FetchJob>(server, std::string(version), limits);

    auto handoff = std::make_unique<std::shared_ptr<FetchJob>>(job);
    const ui::KernelHandle thread(
        ::CreateThread(nullptr, 0, &FetchThread, handoff.get(), 0, nullptr));
    if (!thread) {
        return {};
    }
    handoff.release();  // the thread owns its share now

    const HANDLE waitFor[] = {thread.get(), abort};
    const DWORD count = abort != nullptr ? 2 : 1;
    if (::WaitForMultipleObjects(count, waitFor, FALSE, limits.totalMs) != WAIT_OBJECT_0) {
        {
            const std::lock_guard lock(job->mutex);
            job->abandoned = true;
            job->CloseRoot();  // cancels whatever the request is waiting for
        }
        // Not every WinInet lets a closed handle end a call in progress: the
        // thread is then left to end by itself (at the latest at its next
        // time-out, or with the process). It touches nothing but its job.
        return {};
    }
    const std::lock_guard lock(job->mutex);
    return std::move(job->reply);
}

// --- the check in the background ---

struct CUpdateCheck::Shared {
    UpdateServer server;
    std::string version;
    UpdateLimits limits;
    ui::KernelHandle abort{::CreateEvent(nullptr, TRUE, FALSE, nullptr)};

    std::mutex mutex;
    HWND window = nullptr;  // cleared when the window no longer wants to hear
    UINT message = 0;
    std::optional<std::string> text;
};

bool CUpdateCheck::Start(HWND window, UINT message, UpdateServer server, std::string version,
                         const UpdateLimits& limits) {
    if (m_shared) {
        return false;
    }
    auto shared = std::make_shared<Shared>();
    if (!shared->abort) {
        return false;
    }
    m_installer = server.installerAddress;
    shared->server = std::move(server);
    shared->version = std::move(version);
    shared->limits = limits;
    shared->window = window;
    shared->message = message;

    auto handoff = std::make_unique<std::shared_ptr<Shared>>(shared);
    m_thread.reset(::CreateThread(nullptr, 0, &CUpdateCheck::Run, handoff.get(), 0, nullptr));
    if (!m_thread) {
        return false;
    }
    handoff.release();
    m_shared = std::move(shared);
    return true;
}

DWORD WINAPI CUpdateCheck::Run(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Shared>> owned(
        static_cast<std::shared_ptr<Shared>*>(parameter));
    Shared& shared = **owned;
    std::optional<std::string> text = UpdateMessage(
        FetchUpdateReply(shared.server, shared.version, shared.limits, shared.abort.get()));
    const std::lock_guard lock(shared.mutex);
    if (text && shared.window != nullptr) {
        shared.text = std::move(text);
        ::PostMessage(shared.window, shared.message, 0, 0);
    }
    return 0;
}

std::optional<std::string> CUpdateCheck::TakeMessage() {
    if (!m_shared) {
        return std::nullopt;
    }
    const std::lock_guard lock(m_shared->mutex);
    return std::exchange(m_shared->text, std::nullopt);
}

CUpdateCheck::~CUpdateCheck() {
    if (!m_shared) {
        return;
    }
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->window = nullptr;
    }
    ::SetEvent(m_shared->abort.get());
    // The thread gives up at once on the event. Should it not, it is left to
    // end by itself: it owns what it uses and no longer knows the window.
    ::WaitForSingleObject(m_thread.get(), 1000);
}

}  // namespace pausora
