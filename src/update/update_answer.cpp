#include "update/update_answer.h"

#include "store/product.h"
#include "store/registry_store.h"

#include <algorithm>
#include <charconv>

namespace pausora {

namespace {

bool IsLoopbackIPv4(std::string_view host) {
    // Four decimal parts from 0 to 255, the first of them 127.
    int parts = 0;
    std::size_t start = 0;
    while (start <= host.size()) {
        const std::size_t dot = std::min(host.find('.', start), host.size());
        const std::string_view part = host.substr(start, dot - start);
        unsigned value = 0;
        const auto [stop, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || part.size() > 3 || error != std::errc{} ||
            stop != part.data() + part.size() || value > 255 || (parts == 0 && part != "127")) {
            return false;
        }
        ++parts;
        start = dot + 1;
    }
    return parts == 4;
}

bool IsLocalhost(std::string_view host) {
    constexpr std::string_view kLocalhost = "localhost";
    return host.size() == kLocalhost.size() &&
           std::equal(host.begin(), host.end(), kLocalhost.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

}  // namespace

std::optional<UpdateServer> ParseStandInServer(std::string_view hostAndPort) {
    const std::size_t colon = hostAndPort.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return std::nullopt;
    }
    std::string_view host = hostAndPort.substr(0, colon);
    const std::string_view portText = hostAndPort.substr(colon + 1);
    // A stand-in never leaves this computer: one registry value must not be
    // able to send the check, and the installer the user downloads, to a
    // server somewhere else.
    if (host == "[::1]") {
        host = "::1";
    } else if (!IsLoopbackIPv4(host) && !IsLocalhost(host)) {
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
    return UpdateServer{std::string(kWebHost), 80, WebPage(kInstallerPath)};
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
