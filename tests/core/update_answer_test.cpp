// What the update check makes of the server's answer, and which server it asks.
#include "update/update_answer.h"

#include "shared/memory_registry.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace pausora {
namespace {

std::optional<std::string> ShownFor(std::string body, std::uint32_t status = 200) {
    return UpdateMessage(UpdateReply{true, status, std::move(body)});
}

TEST(UpdateAnswer, OnlyTheExactNoUpdatesTextShowsNothing) {
    EXPECT_EQ(ShownFor("No updates available"), std::nullopt);
    // Anything else is a message for the user, shown as it came.
    EXPECT_EQ(ShownFor("No updates available\r\n"), "No updates available\r\n");
    EXPECT_EQ(ShownFor("No updates available\n"), "No updates available\n");
    EXPECT_EQ(ShownFor("no updates available"), "no updates available");
    EXPECT_EQ(ShownFor("No updates"), "No updates");
    EXPECT_EQ(ShownFor(" No updates available"), " No updates available");
}

TEST(UpdateAnswer, BackslashNBecomesALineBreakAndNothingElseChanges) {
    EXPECT_EQ(ShownFor(R"(Version 1.2 is out.\nDownload it now?)"),
              "Version 1.2 is out.\nDownload it now?");
    EXPECT_EQ(ShownFor(R"(\n\nTwo\n)"), "\n\nTwo\n");
    // A lone backslash, a backslash before another letter, one at the end.
    EXPECT_EQ(ShownFor(R"(C:\new\tab\)"), "C:\new\\tab\\");
    EXPECT_EQ(ShownFor(R"(a\\nb)"), "a\\\nb");
    EXPECT_EQ(ShownFor(R"(\N)"), R"(\N)");
}

TEST(UpdateAnswer, NothingIsShownWithoutAnAnswerOfStatus200) {
    for (const std::uint32_t status : {0u, 201u, 204u, 301u, 302u, 304u, 307u, 404u, 500u}) {
        EXPECT_EQ(ShownFor("Version 1.2 is out", status), std::nullopt) << status;
    }
    EXPECT_EQ(UpdateMessage(UpdateReply{false, 200, "Version 1.2 is out"}), std::nullopt);
    EXPECT_EQ(UpdateMessage(UpdateReply{}), std::nullopt);
    // An empty answer offers nothing.
    EXPECT_EQ(ShownFor(""), std::nullopt);
}

TEST(UpdateAnswer, TheAnswerEndsAtItsLimitOrAtAZeroByte) {
    const std::string lines(kMaxAnswerBytes - 2, 'x');
    EXPECT_EQ(ShownFor(lines + R"(\n)" + "beyond"), lines + "\n");
    EXPECT_EQ(ShownFor(lines + "ab" + "beyond"), lines + "ab");
    EXPECT_EQ(ShownFor(std::string("No updates available\0junk", 25)), std::nullopt);
    EXPECT_EQ(ShownFor(std::string("New\0junk", 8)), "New");
    EXPECT_EQ(ShownFor(std::string("\0junk", 5)), std::nullopt);
}

TEST(UpdateAnswer, TheRequestNamesTheVersionAsItIs) {
    EXPECT_EQ(CheckVersionObject("1.1"), "/cgi/checkversion.php?version=1.1");
    EXPECT_EQ(kCheckRequestHeaders, "Accept: text/*\r\nUser-Agent: Pausora App\r\n");
}

TEST(UpdateServerChoice, TheProductServerUnlessATestNamesAStandIn) {
    MemoryRegistry registry;
    UpdateServer server = ChosenUpdateServer(registry);
    EXPECT_EQ(server.host, "www.pausora.com");
    EXPECT_EQ(server.port, 80);
    EXPECT_EQ(server.installerAddress, "https://www.pausora.com/pausora.exe");

    registry.SetRaw(reg::kAppKey, "TestUpdateServer", MemoryRegistry::Type::kString,
                    {'1', '2', '7', '.', '0', '.', '0', '.', '1', ':', '8', '0', '8', '1', 0});
    server = ChosenUpdateServer(registry);
    EXPECT_EQ(server.host, "127.0.0.1");
    EXPECT_EQ(server.port, 8081);
    EXPECT_EQ(server.installerAddress, "http://127.0.0.1:8081/pausora.exe");

    registry.SetRaw(reg::kAppKey, "TestUpdateServer", MemoryRegistry::Type::kString,
                    {'1', '2', '7', '.', '0', '.', '0', '.', '1', 0});
    EXPECT_EQ(ChosenUpdateServer(registry).host, "www.pausora.com");
}

TEST(UpdateServerChoice, AStandInIsAHostAndAPortOrNothing) {
    const auto parsed = ParseStandInServer("localhost:65535");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->host, "localhost");
    EXPECT_EQ(parsed->port, 65535);
    for (const char* bad : {"", ":80", "host", "host:", "host:0", "host:65536", "host:80x",
                            "host:-1", "host: 80", "a/b:80", "user@host:80", "::1:80"}) {
        EXPECT_EQ(ParseStandInServer(bad), std::nullopt) << bad;
    }
}

TEST(UpdateServerChoice, OnlyAServerOnThisComputerStandsIn) {
    struct Case {
        const char* value;
        const char* host;  // nullptr: ignored, the product's server is asked
        const char* installer;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"127.0.0.1:8081", "127.0.0.1", "http://127.0.0.1:8081/pausora.exe"},
             {"127.255.0.9:80", "127.255.0.9", "http://127.255.0.9:80/pausora.exe"},
             {"LocalHost:80", "LocalHost", "http://LocalHost:80/pausora.exe"},
             {"[::1]:8081", "::1", "http://[::1]:8081/pausora.exe"},
             {"www.example.com:80", nullptr, nullptr},
             {"10.0.0.1:80", nullptr, nullptr},
             {"128.0.0.1:80", nullptr, nullptr},
             {"127.0.0.256:80", nullptr, nullptr},
             {"127.0.0:80", nullptr, nullptr},
             {"127.0.0.1.2:80", nullptr, nullptr},
             {"127.0.0.1.example.com:80", nullptr, nullptr},
             {"localhost.example.com:80", nullptr, nullptr},
             {"0177.0.0.1:80", nullptr, nullptr},
             {"[::2]:80", nullptr, nullptr},
         }) {
        MemoryRegistry registry;
        const std::string_view text(c.value);
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        bytes.push_back(0);
        registry.SetRaw(reg::kAppKey, "TestUpdateServer", MemoryRegistry::Type::kString, bytes);
        const UpdateServer server = ChosenUpdateServer(registry);
        if (c.host == nullptr) {
            EXPECT_EQ(server.host, "www.pausora.com") << c.value;
            EXPECT_EQ(server.installerAddress, "https://www.pausora.com/pausora.exe") << c.value;
        } else {
            EXPECT_EQ(server.host, c.host) << c.value;
            EXPECT_EQ(server.installerAddress, c.installer) << c.value;
        }
    }
}

}  // namespace
}  // namespace pausora
