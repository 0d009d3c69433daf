// What the update check asks the vendor's server and what it makes of the
// answer. The server answers with a short text: "No updates available", or
// a message for the user, its line breaks written as the two characters
// backslash and n.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pausora {

inline constexpr std::string_view kNoUpdatesAnswer = "No updates available";
inline constexpr std::string_view kCheckVersionPath = "/cgi/checkversion.php?version=";
inline constexpr std::string_view kInstallerPath = "/pausora.exe";
inline constexpr std::string_view kCheckRequestHeaders =
    "Accept: text/*\r\nUser-Agent: Pausora App\r\n";
// One read of the body, at most this much; the rest is never read.
inline constexpr std::size_t kMaxAnswerBytes = 1024;
inline constexpr std::uint32_t kHttpOk = 200;

// Where the check goes, and the installer's address for the browser.
struct UpdateServer {
    std::string host;
    std::uint16_t port = 80;
    std::string installerAddress;
};

// A stand-in server given as "host:port" (tests run one on this machine);
// its installer is fetched over plain HTTP from the same place. Nothing for
// text that is not a loopback host (127.0.0.0/8, "localhost" in any case,
// "[::1]") and a port from 1 to 65535.
std::optional<UpdateServer> ParseStandInServer(std::string_view hostAndPort);

// The server to ask: the product's, unless the value "TestUpdateServer"
// ("host:port") under the program's key names a stand-in. Only tests set it.
class IRegistry;
inline constexpr std::string_view kTestUpdateServerValue = "TestUpdateServer";
UpdateServer ChosenUpdateServer(IRegistry& registry);

// The object asked for: the check's path followed by the version as it is.
std::string CheckVersionObject(std::string_view version);

// What came back from the server. `received` is false when the request never
// completed (no network, refused, timed out, cut off).
struct UpdateReply {
    bool received = false;
    std::uint32_t status = 0;
    std::string body;  // what one read returned, at most kMaxAnswerBytes
};

// The text to show the user, or nothing: nothing when the request failed,
// the status was not 200 (redirects are not followed), or the answer says
// there are no updates (exactly, case-sensitively), or is empty. The answer
// ends at a zero byte, as text does; every "\n" becomes a line feed.
std::optional<std::string> UpdateMessage(const UpdateReply& reply);

}  // namespace pausora
