// Feeds arbitrary page paths, one a line, to the settings tree. Each split is
// checked against a second reading of the escapes done left to right; a path
// made again from its components (escaped) must split into the same ones;
// every page ends up on the node its path names; the tree's walks visit each
// node once, parents first, and the page-to-page steps go round in order.
#include "settings/page_path.h"
#include "fuzz/require.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace pausora::TreeSheet;

using pausora::fuzz::Require;

// Where the first separator of `path` stands: a backslash takes the character
// after it as it is, so "\::" and "\\" never start one.
std::size_t SeparatorAt(std::string_view path) {
    for (std::size_t i = 0; i < path.size();) {
        if (path[i] == '\\') {
            i += 2;
        } else if (path.substr(i, 2) == "::") {
            return i;
        } else {
            ++i;
        }
    }
    return std::string_view::npos;
}

std::vector<std::string> Components(std::string_view path) {
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t at = SeparatorAt(path);
        PagePathHead head = SplitPagePath(path);
        if (at == std::string_view::npos) {
            Require(head.rest.empty());
        } else {
            // The rest is the text after the separator, not a copy of it.
            Require(head.rest.data() == path.data() + at + 2);
            Require(head.rest.size() == path.size() - at - 2);
        }
        parts.push_back(std::move(head.component));
        if (head.rest.empty()) {
            return parts;
        }
        path = head.rest;
    }
}

// The escapes a page caption uses for a backslash and a "::" in a name.
std::string Escape(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\') {
            out += "\\\\";
        } else if (name.substr(i, 2) == "::") {
            out += "\\::";
            ++i;
        } else {
            out += name[i];
        }
    }
    return out;
}

// Names the escapes can carry: a name ending in ":" or holding ":::" would run
// into its separator, and an empty last name is no name.
bool Writable(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if ((!name.empty() && name.back() == ':') || name.find(":::") != std::string::npos) {
            return false;
        }
    }
    return names.size() == 1 || !names.back().empty();
}

// The first three, the middle one and the last three of `count` indices.
std::vector<std::size_t> Sample(std::size_t count) {
    std::vector<std::size_t> picked;
    for (std::size_t i = 0; i < count; ++i) {
        if (i < 3 || i + 3 >= count || i == count / 2) {
            picked.push_back(i);
        }
    }
    return picked;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Captions are short: a kilobyte of paths already makes hundreds of
    // nodes, and every check below walks them all.
    const std::string_view text(reinterpret_cast<const char*>(data),
                                std::min<std::size_t>(size, 1024));
    std::vector<std::string_view> paths;
    for (std::size_t from = 0; from <= text.size() && paths.size() < 64;) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        paths.push_back(text.substr(from, end - from));
        from = end + 1;
    }

    PageTree tree;
    std::vector<int> nodes;
    for (std::size_t page = 0; page < paths.size(); ++page) {
        const std::vector<std::string> names = Components(paths[page]);
        if (Writable(names)) {
            std::string made = Escape(names.front());
            for (std::size_t i = 1; i < names.size(); ++i) {
                made += "::" + Escape(names[i]);
            }
            Require(Components(made) == names);
        }
        const int node = tree.AddPage(paths[page], static_cast<int>(page));
        nodes.push_back(node);
        // The node's names from the root are the path's names.
        std::vector<std::string> up;
        for (int n = node; n != PageTree::kRoot; n = tree.At(n).parent) {
            Require(n > 0 && static_cast<std::size_t>(n) < tree.Size());
            up.push_back(tree.At(n).text);
        }
        Require(std::equal(up.rbegin(), up.rend(), names.begin(), names.end()));
    }

    // Each node once, after its parent; no two siblings of the same name.
    const std::vector<int> order = tree.DepthFirst();
    Require(order.size() == tree.Size() - 1);
    std::vector<int> position(tree.Size(), -1);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int node = order[i];
        Require(node > 0 && position[static_cast<std::size_t>(node)] == -1);
        position[static_cast<std::size_t>(node)] = static_cast<int>(i);
        const int parent = tree.At(node).parent;
        Require(parent == PageTree::kRoot || position[static_cast<std::size_t>(parent)] >= 0);
        const std::vector<int>& siblings = tree.At(parent).children;
        Require(std::count_if(siblings.begin(), siblings.end(),
                              [&](int s) { return tree.At(s).text == tree.At(node).text; }) == 1);
    }

    // A later page of the same path takes the node over.
    std::vector<int> withPage;
    for (const int node : order) {
        if (tree.At(node).page != PageTree::kNone) {
            withPage.push_back(node);
        }
    }
    // Each look-up walks the whole tree: the ends (where the steps go round)
    // and the middle stand for the rest.
    for (const std::size_t page : Sample(nodes.size())) {
        const int owner = tree.At(nodes[page]).page;
        Require(tree.NodeOfPage(static_cast<int>(page)) ==
                (owner == static_cast<int>(page) ? nodes[page] : PageTree::kNone));
    }
    const int first = tree.FirstPageNodeFrom(PageTree::kRoot);
    Require(first == (withPage.empty() ? PageTree::kNone : withPage.front()));
    for (const std::size_t i : Sample(withPage.size())) {
        const int next = withPage[(i + 1) % withPage.size()];
        Require(tree.NextPageNode(withPage[i]) == next);
        Require(tree.PreviousPageNode(next) == withPage[i]);
    }
    return 0;
}
