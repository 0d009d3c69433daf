// The stand-in update servers that tests/win/update_servers.py runs beside a
// test program: their addresses, and the request heads each one received.
#pragma once

#include "update/update_answer.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace pausora::test {

inline std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// What the multi-line server says, as the user reads it.
inline constexpr char kMultiLineMessage[] =
    "Pausora 1.2 is out.\nIt counts your breaks better.\n\nDownload it now?";

// By name: none, trailing, lower, multi, empty, status301, status500, silent,
// drip_head, drip_body, big, unused, refused.
inline std::map<std::string, std::string> UpdateServerAddresses() {
    std::map<std::string, std::string> servers;
    std::stringstream list(Env("PAUSORA_UPDATE_SERVERS"));
    std::string entry;
    while (std::getline(list, entry, ';')) {
        const std::size_t equals = entry.find('=');
        if (equals != std::string::npos) {
            servers.emplace(entry.substr(0, equals), entry.substr(equals + 1));
        }
    }
    return servers;
}

// A file in the servers' log folder, which goes when the servers stop.
inline std::string UpdateLogFile(const std::string& name) {
    return Env("PAUSORA_UPDATE_LOG") + "\\" + name;
}

// The request heads a server received, in order.
inline std::vector<std::string> RequestsTo(const std::string& server) {
    std::vector<std::string> heads;
    for (int n = 1;; ++n) {
        std::ifstream file(UpdateLogFile(server + "." + std::to_string(n) + ".txt"),
                           std::ios::binary);
        if (!file) {
            return heads;
        }
        heads.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
}

}  // namespace pausora::test
