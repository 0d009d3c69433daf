#include "settings/page_path.h"

#include <algorithm>

namespace pausora::TreeSheet {

namespace {

constexpr std::string_view kSeparator = "::";

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A backslash before "::" or before another backslash goes.
        const std::string_view next = text.substr(i + 1);
        if (text[i] == '\\' && (next.starts_with(kSeparator) || next.starts_with('\\'))) {
            ++i;
        }
        out += text[i];
    }
    return out;
}

}  // namespace

PagePathHead SplitPagePath(std::string_view path) {
    for (std::size_t from = 0;;) {
        const std::size_t at = path.find(kSeparator, from);
        if (at == std::string_view::npos) {
            return {Unescape(path), {}};
        }
        std::size_t backslashes = 0;
        while (backslashes < at && path[at - 1 - backslashes] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 0) {
            return {Unescape(path.substr(0, at)), path.substr(at + kSeparator.size())};
        }
        from = at + 1;
    }
}

void PageTree::Clear() {
    m_nodes.assign(1, Node{});
}

int PageTree::AddPage(std::string_view path, int page) {
    const int node = Insert(path, kRoot);
    m_nodes[static_cast<std::size_t>(node)].page = page;
    return node;
}

int PageTree::Insert(std::string_view path, int parent) {
    PagePathHead head = SplitPagePath(path);
    int child = kNone;
    for (const int existing : m_nodes[static_cast<std::size_t>(parent)].children) {
        if (At(existing).text == head.component) {
            child = existing;
            break;
        }
    }
    if (child == kNone) {
        child = static_cast<int>(m_nodes.size());
        m_nodes.push_back(Node{std::move(head.component), kNone, parent, {}});
        m_nodes[static_cast<std::size_t>(parent)].children.push_back(child);
    }
    return head.rest.empty() ? child : Insert(head.rest, child);
}

std::vector<int> PageTree::DepthFirst() const {
    std::vector<int> order;
    std::vector<int> stack(At(kRoot).children.rbegin(), At(kRoot).children.rend());
    while (!stack.empty()) {
        const int node = stack.back();
        stack.pop_back();
        order.push_back(node);
        const auto& children = At(node).children;
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return order;
}

int PageTree::NodeOfPage(int page) const {
    for (std::size_t i = 1; i < m_nodes.size(); ++i) {
        if (m_nodes[i].page == page) {
            return static_cast<int>(i);
        }
    }
    return kNone;
}

int PageTree::FirstPageNodeFrom(int node) const {
    if (At(node).page != kNone) {
        return node;
    }
    for (const int child : At(node).children) {
        if (const int found = FirstPageNodeFrom(child); found != kNone) {
            return found;
        }
    }
    return kNone;
}

int PageTree::Step(int node, int direction) const {
    const std::vector<int> order = DepthFirst();
    if (order.empty()) {
        return kNone;
    }
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const auto found = std::find(order.begin(), order.end(), node);
    // From a node that is not in the tree, the walk starts at the ends.
    std::ptrdiff_t at = found == order.end() ? (direction > 0 ? -1 : n) : found - order.begin();
    for (std::ptrdiff_t tries = 0; tries < n; ++tries) {
        at = ((at + direction) % n + n) % n;
        if (At(order[static_cast<std::size_t>(at)]).page != kNone) {
            return order[static_cast<std::size_t>(at)];
        }
    }
    return kNone;
}

int PageTree::NextPageNode(int node) const {
    return Step(node, +1);
}

int PageTree::PreviousPageNode(int node) const {
    return Step(node, -1);
}

}  // namespace pausora::TreeSheet

namespace pausora {

std::string_view FileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace pausora
