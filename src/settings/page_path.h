// The settings window's tree is built from the pages' captions: each caption
// is a path such as "Schedule::Short breaks". These rules need no window, so
// they are tested on their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pausora::TreeSheet {

// The first component of a page path and the text after its separator.
struct PagePathHead {
    std::string component;  // unescaped: "\::" reads "::", "\\" reads "\"
    std::string_view rest;  // empty when the path had no separator
};

// Splits at the first "::" that is not escaped by an odd number of
// backslashes in front of it.
PagePathHead SplitPagePath(std::string_view path);

// The tree of pages as the sheet shows it: components become nodes, in the
// order in which pages are added, and a node carries its page's index or -1.
class PageTree {
  public:
    static constexpr int kRoot = 0;
    static constexpr int kNone = -1;

    struct Node {
        std::string text;
        int page = kNone;
        int parent = kNone;
        std::vector<int> children;
    };

    // Finds or creates the nodes of `path` under the root and gives the last
    // one the page's index; returns that node.
    int AddPage(std::string_view path, int page);
    void Clear();

    const Node& At(int node) const { return m_nodes.at(static_cast<std::size_t>(node)); }
    std::size_t Size() const { return m_nodes.size(); }
    // Every node but the root, parents before their children, siblings in order.
    std::vector<int> DepthFirst() const;

    int NodeOfPage(int page) const;
    // The node itself if it has a page, else its first descendant that has
    // one; kNone when there is none.
    int FirstPageNodeFrom(int node) const;
    // The next (or previous) node with a page in depth-first order, going
    // round from the last to the first; kNone when no node has a page.
    int NextPageNode(int node) const;
    int PreviousPageNode(int node) const;

  private:
    int Insert(std::string_view path, int parent);
    int Step(int node, int direction) const;

    std::vector<Node> m_nodes = std::vector<Node>(1);  // the root first
};

}  // namespace pausora::TreeSheet

namespace pausora {

// The name of a file as the Sounds page shows it: the text after the last
// backslash of its path, or the whole path when it has none.
std::string_view FileNameOf(std::string_view path);

}  // namespace pausora
