// The settings window's rules that need no window: how page captions become
// the tree, the order Ctrl+Tab walks it, and the file names the Sounds page
// shows.
#include "settings/page_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pausora {
namespace {

using TreeSheet::PagePathHead;
using TreeSheet::PageTree;
using TreeSheet::SplitPagePath;

TEST(PagePath, SplitsAtTheFirstSeparatorThatIsNotEscaped) {
    struct Case {
        std::string path;
        std::string component;
        std::string rest;
    };
    const std::vector<Case> cases = {
        {"Schedule", "Schedule", ""},
        {"Schedule::Short breaks", "Schedule", "Short breaks"},
        {"A::B::C", "A", "B::C"},
        // One backslash escapes the separator, and is dropped from the text.
        {"Ratio 1\\::2", "Ratio 1::2", ""},
        {"Ratio 1\\::2::Page", "Ratio 1::2", "Page"},
        // Two backslashes are one backslash, and the separator counts.
        {"C:\\\\::Page", "C:\\", "Page"},
        // Three: an escaped backslash, then an escaped separator.
        {"x\\\\\\::y", "x\\::y", ""},
        {"a\\b", "a\\b", ""},
        {"Short:breaks", "Short:breaks", ""},
        {"", "", ""},
        {"Trailing::", "Trailing", ""},
    };
    for (const Case& c : cases) {
        const PagePathHead head = SplitPagePath(c.path);
        EXPECT_EQ(head.component, c.component) << c.path;
        EXPECT_EQ(std::string(head.rest), c.rest) << c.path;
    }
}

// The settings window's own pages, in the order they are added.
PageTree SettingsTree() {
    PageTree tree;
    const char* captions[] = {"Schedule",
                              "Schedule::Short breaks",
                              "Schedule::Long breaks",
                              "Schedule::Working time",
                              "Schedule::Time limits",
                              "Customize",
                              "Customize::Startup",
                              "Customize::Sounds",
                              "Customize::Appearance"};
    int page = 0;
    for (const char* caption : captions) {
        tree.AddPage(caption, page++);
    }
    return tree;
}

std::vector<std::string> Texts(const PageTree& tree, const std::vector<int>& nodes) {
    std::vector<std::string> texts;
    for (const int node : nodes) {
        texts.push_back(tree.At(node).text);
    }
    return texts;
}

TEST(PageTree, ParentsAddedFirstCarryTheirPagesAndChildrenSitUnderThem) {
    const PageTree tree = SettingsTree();
    EXPECT_EQ(tree.Size(), 10u);  // the root and nine pages: no node without a page
    const auto& top = tree.At(PageTree::kRoot).children;
    ASSERT_EQ(Texts(tree, top), (std::vector<std::string>{"Schedule", "Customize"}));
    EXPECT_EQ(tree.At(top[0]).page, 0);
    EXPECT_EQ(tree.At(top[1]).page, 5);
    EXPECT_EQ(
        Texts(tree, tree.At(top[0]).children),
        (std::vector<std::string>{"Short breaks", "Long breaks", "Working time", "Time limits"}));
    EXPECT_EQ(Texts(tree, tree.At(top[1]).children),
              (std::vector<std::string>{"Startup", "Sounds", "Appearance"}));
    for (int page = 0; page < 9; ++page) {
        EXPECT_EQ(tree.At(tree.NodeOfPage(page)).page, page);
    }
    EXPECT_EQ(tree.NodeOfPage(9), PageTree::kNone);
}

TEST(PageTree, AParentAddedAfterItsChildrenTakesTheExistingNode) {
    PageTree tree;
    const int child = tree.AddPage("Customize::Sounds", 0);
    const int parent = tree.AddPage("Customize", 1);
    EXPECT_EQ(tree.At(child).parent, parent);
    EXPECT_EQ(tree.At(parent).page, 1);
    EXPECT_EQ(tree.Size(), 3u);
    // A node that only groups pages hands over to its first page.
    PageTree grouped;
    grouped.AddPage("Group::First", 4);
    const int group = grouped.At(PageTree::kRoot).children.front();
    EXPECT_EQ(grouped.At(group).page, PageTree::kNone);
    EXPECT_EQ(grouped.At(grouped.FirstPageNodeFrom(group)).page, 4);
}

TEST(PageTree, ControlTabWalksDepthFirstAndGoesRound) {
    const PageTree tree = SettingsTree();
    std::vector<int> forward;
    int node = tree.NodeOfPage(0);
    for (int i = 0; i < 10; ++i) {
        forward.push_back(tree.At(node).page);
        node = tree.NextPageNode(node);
    }
    EXPECT_EQ(forward, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 0}));
    std::vector<int> backward;
    node = tree.NodeOfPage(0);
    for (int i = 0; i < 10; ++i) {
        backward.push_back(tree.At(node).page);
        node = tree.PreviousPageNode(node);
    }
    EXPECT_EQ(backward, (std::vector<int>{0, 8, 7, 6, 5, 4, 3, 2, 1, 0}));

    // Depth first, not in the order pages were added; grouping nodes skipped.
    PageTree mixed;
    mixed.AddPage("B::Two", 0);
    mixed.AddPage("A", 1);
    mixed.AddPage("B::Two::Deep", 2);
    mixed.AddPage("B::Three", 3);
    std::vector<int> pages;
    node = mixed.NodeOfPage(0);
    for (int i = 0; i < 4; ++i) {
        node = mixed.NextPageNode(node);
        pages.push_back(mixed.At(node).page);
    }
    EXPECT_EQ(pages, (std::vector<int>{2, 3, 1, 0}));
    EXPECT_EQ(PageTree().NextPageNode(PageTree::kRoot), PageTree::kNone);
}

TEST(SoundPath, FileNamesAreTheTextAfterTheLastBackslash) {
    EXPECT_EQ(FileNameOf("C:\\windows\\Media\\ding.wav"), "ding.wav");
    EXPECT_EQ(FileNameOf("ding.wav"), "ding.wav");
    EXPECT_EQ(FileNameOf("C:\\sounds\\"), "");
    EXPECT_EQ(FileNameOf(""), "");
    EXPECT_EQ(FileNameOf("\\\\server\\share\\bell.wav"), "bell.wav");
}

}  // namespace
}  // namespace pausora
