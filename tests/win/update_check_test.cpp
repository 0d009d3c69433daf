// The update check over WinInet against our own servers on this machine
// (tests/win/update_servers.py runs them): what each answer leads to, what
// the server receives, and how long hostile servers can hold the check.
#include "resource.h"
#include "shared/update_servers.h"
#include "update/update_check_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <map>
#include <string>
#include <vector>

namespace pausora {
namespace {

using test::kMultiLineMessage;
using test::RequestsTo;

// The servers the script started, by name.
std::map<std::string, UpdateServer> Servers() {
    std::map<std::string, UpdateServer> servers;
    for (const auto& [name, address] : test::UpdateServerAddresses()) {
        servers.emplace(name, ParseStandInServer(address).value());
    }
    return servers;
}

class UpdateCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_servers = Servers();
        ASSERT_EQ(m_servers.count("multi"), 1u) << "run through tests/win/update_servers.py";
    }
    std::optional<std::string> Check(const std::string& name, const UpdateLimits& limits = {}) {
        return UpdateMessage(FetchUpdateReply(m_servers.at(name), "1.1", limits));
    }
    std::map<std::string, UpdateServer> m_servers;
};

TEST_F(UpdateCheckTest, OnlyAnOkAnswerOtherThanNoUpdatesIsShownWithItsLineBreaks) {
    EXPECT_EQ(Check("none"), std::nullopt);
    EXPECT_EQ(Check("trailing"), "No updates available\r\n");
    EXPECT_EQ(Check("lower"), "no updates available");
    EXPECT_EQ(Check("multi"), kMultiLineMessage);
    EXPECT_EQ(Check("empty"), std::nullopt);
    EXPECT_EQ(Check("status500"), std::nullopt);
    // The redirect points at a server that would answer; it is not followed.
    const std::size_t before = RequestsTo("multi").size();
    EXPECT_EQ(Check("status301"), std::nullopt);
    EXPECT_EQ(RequestsTo("multi").size(), before);
    EXPECT_EQ(RequestsTo("status301").size(), 1u);
}

TEST_F(UpdateCheckTest, TheServerReceivesTheVersionAndBothHeaders) {
    ASSERT_TRUE(Check("none") == std::nullopt);
    const std::vector<std::string> heads = RequestsTo("none");
    ASSERT_FALSE(heads.empty());
    const std::string& head = heads.back();
    EXPECT_EQ(head.substr(0, head.find("\r\n")), "GET /cgi/checkversion.php?version=1.1 HTTP/1.1");
    const auto count = [&head](const std::string& line) {
        std::size_t found = 0;
        for (std::size_t at = head.find("\r\n" + line + "\r\n"); at != std::string::npos;
             at = head.find("\r\n" + line + "\r\n", at + 1)) {
            ++found;
        }
        return found;
    };
    EXPECT_EQ(count("Accept: text/*"), 1u) << head;
    EXPECT_EQ(count("User-Agent: Pausora App"), 1u) << head;
    EXPECT_EQ(count("Host: 127.0.0.1:" + std::to_string(m_servers.at("none").port)), 1u) << head;
    EXPECT_EQ(head.find("\r\nReferer:"), std::string::npos) << head;
    EXPECT_EQ(head.find("\r\nUser-Agent:"), head.rfind("\r\nUser-Agent:")) << head;
}

TEST_F(UpdateCheckTest, HostileServersAreGivenUpWithinTheBound) {
    const UpdateLimits limits;  // the program's own
    const DWORD bound = limits.totalMs + 300;
    struct Outcome {
        std::optional<std::string> shown;
        DWORD ms;
    };
    std::map<std::string, std::future<Outcome>> runs;
    for (const char* name : {"silent", "drip_head", "drip_body", "big", "refused"}) {
        runs.emplace(name, std::async(std::launch::async, [this, name, limits] {
                         const DWORD start = ::GetTickCount();
                         auto shown = Check(name, limits);
                         return Outcome{std::move(shown), ::GetTickCount() - start};
                     }));
    }
    std::map<std::string, Outcome> outcomes;
    for (auto& [name, run] : runs) {
        outcomes.emplace(name, run.get());
        std::printf("%-10s %5lu ms  %s\n", name.c_str(), outcomes.at(name).ms,
                    outcomes.at(name).shown ? "shows text" : "shows nothing");
        EXPECT_LE(outcomes.at(name).ms, bound) << name;
    }
    EXPECT_EQ(outcomes.at("silent").shown, std::nullopt);
    EXPECT_EQ(outcomes.at("drip_head").shown, std::nullopt);
    EXPECT_EQ(outcomes.at("refused").shown, std::nullopt);
    EXPECT_LE(outcomes.at("refused").ms, 3000u);
    // A huge answer is cut at what one read returns.
    ASSERT_TRUE(outcomes.at("big").shown.has_value());
    EXPECT_LE(outcomes.at("big").shown->size(), kMaxAnswerBytes);
    EXPECT_EQ(outcomes.at("big").shown->find_first_not_of('A'), std::string::npos);
    EXPECT_LE(outcomes.at("big").ms, 3000u);
}

// A window for the answers of the check in the background.
class AnswerWindow {
  public:
    AnswerWindow()
        : m_hwnd(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr)) {}
    ~AnswerWindow() { ::DestroyWindow(m_hwnd); }
    HWND Handle() const { return m_hwnd; }
    // Whether the answer message arrives within `ms`.
    bool Answered(DWORD ms) {
        const DWORD until = ::GetTickCount() + ms;
        MSG msg;
        do {
            if (::PeekMessageA(&msg, m_hwnd, WM_UPDATE_ANSWER, WM_UPDATE_ANSWER, PM_REMOVE)) {
                return true;
            }
            ::Sleep(20);
        } while (static_cast<int>(until - ::GetTickCount()) > 0);
        return false;
    }

  private:
    HWND m_hwnd;
};

TEST_F(UpdateCheckTest, TheBackgroundCheckPostsItsAnswerOnceOrNothingAfterItIsGone) {
    AnswerWindow window;
    {
        CUpdateCheck check;
        ASSERT_TRUE(check.Start(window.Handle(), WM_UPDATE_ANSWER, m_servers.at("multi"), "1.1"));
        EXPECT_FALSE(check.Start(window.Handle(), WM_UPDATE_ANSWER, m_servers.at("multi"), "1.1"));
        ASSERT_TRUE(window.Answered(5000));
        EXPECT_EQ(check.TakeMessage(), kMultiLineMessage);
        EXPECT_EQ(check.TakeMessage(), std::nullopt);
        EXPECT_EQ(
            check.InstallerAddress(),
            "http://127.0.0.1:" + std::to_string(m_servers.at("multi").port) + "/pausora.exe");
    }
    {
        CUpdateCheck check;
        const std::size_t asked = RequestsTo("none").size();
        ASSERT_TRUE(check.Start(window.Handle(), WM_UPDATE_ANSWER, m_servers.at("none"), "1.1"));
        EXPECT_FALSE(window.Answered(2000));
        EXPECT_EQ(RequestsTo("none").size(), asked + 1);
    }
    // Given up while the server says nothing: the end is prompt and quiet.
    DWORD ended = 0;
    {
        CUpdateCheck check;
        ASSERT_TRUE(check.Start(window.Handle(), WM_UPDATE_ANSWER, m_servers.at("silent"), "1.1"));
        ::Sleep(300);
        ended = ::GetTickCount();
    }
    ended = ::GetTickCount() - ended;
    std::printf("a check given up ends in %lu ms\n", ended);
    EXPECT_LE(ended, 200u);
    EXPECT_FALSE(window.Answered(500));
}

}  // namespace
}  // namespace pausora
