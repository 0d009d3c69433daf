#include "update/update_answer.h"

#include "store/product.h"
#include "store/registry_store.h"

#include <algorithm>
#include <charconv>

namespace pausora {

UpdateServer ProductUpdateServer() {
    return UpdateServer{std::string(kWebHost), 80, WebPage(kInstallerPath)};
}

std::optional<UpdateServer> ParseStandInServer(std::string_view hostAndPort) {
    const std::size_t colon = hostAndPort.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return std::nullopt;
    }
    const std::string_view host = hostAndPort.substr(0, colon);
    const std::string_view portText = hostAndPort.substr(colon + 1);
    if (host.find_first_of(" /\\:@?#") != std::string_view::npos) {
        return std::nullopt;
    }
    unsigned port = 0;
    const char* end = portText.data() + portText.size();
    const auto [stop, error] = std::from_chars(portText.data(), end, port);
    if (portText.empty() || error != std::errc{} || stop != end || port == 0 || port > 65535) {
        return std::nullopt;
    }
    std::string installer = "http://";
    installer.append(hostAndPort);
    installer.append(kInstallerPath);
    return UpdateServer{std::string(host), static_cast<std::uint16_t>(port), std::move(installer)};
}

UpdateServer ChosenUpdateServer(IRegistry& registry) {
    const auto key = registry.NewKey();
    std::string standIn;
    if (key->Open(reg::kAppKey) && key->ReadString(kTestUpdateServerValue, standIn)) {
        if (auto server = ParseStandInServer(standIn)) {
            return *std::move(server);
        }
    }
    return ProductUpdateServer();
}

std::string CheckVersionObject(std::string_view version) {
    std::string object(kCheckVersionPath);
    object.append(version);
    return object;
}

std::optional<std::string> UpdateMessage(const UpdateReply& reply) {
    if (!reply.received || reply.status != kHttpOk) {
        return std::nullopt;
    }
    std::string_view answer(reply.body);
    answer = answer.substr(0, std::min(answer.size(), kMaxAnswerBytes));
    answer = answer.substr(0, answer.find('\0'));
    // An empty answer offers nothing; an empty box would only puzzle.
    if (answer.empty() || answer == kNoUpdatesAnswer) {
        return std::nullopt;
    }
    std::string message;
    message.reserve(answer.size());
    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (answer[i] == '\\' && i + 1 < answer.size() && answer[i + 1] == 'n') {
            message += '\n';
            ++i;
        } else {
            message += answer[i];
        }
    }
    return message;
}

}  // namespace pausora
