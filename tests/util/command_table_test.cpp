// The command table as a whole: ids in resource.h are unique, every item of
// the main menu has a handler on the route and is enabled, and every item has
// its prompt.
#include <fstream>
#include <map>
#include <regex>

#include "shell_fixture.h"
#include "util/resource.h"

namespace {

TEST(CommandTable, CommandIdsInResourceHeaderAreUnique)
{
    std::ifstream header(VESTREL_UTIL_RESOURCE_H);
    ASSERT_TRUE(header.good()) << VESTREL_UTIL_RESOURCE_H;
    const std::regex define(R"(#define\s+(ID_\w+)\s+(\d+))");
    std::map<long, std::string> seen;
    int count = 0;
    for (std::string line; std::getline(header, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, define))
            continue;
        ++count;
        long value = std::stol(m[2]);
        auto [it, fresh] = seen.emplace(value, m[1]);
        EXPECT_TRUE(fresh) << m[1] << " has the value of " << it->second;
    }
    EXPECT_GE(count, 15);
}

TEST_F(ShellTest, EveryMainMenuCommandIsHandledAndEnabled)
{
    for (UINT id : vtest::MenuCommandIds(frame->m_hMenuDefault)) {
        CommandState state = QueryCommandState(frame, id);
        EXPECT_TRUE(state.hasHandler) << id;
        EXPECT_TRUE(state.enabled) << id;
        if (id != ID_HELP_UTILITIES) {
            EXPECT_FALSE(FxLoadString(id).empty()) << "no prompt for " << id;
        }
    }
}

TEST_F(ShellTest, EveryToolbarButtonHasAToolTip)
{
    for (int i = 0; i < frame->m_wndToolBar.GetCount(); ++i) {
        if (UINT id = frame->m_wndToolBar.GetItemID(i)) {
            EXPECT_NE(FxTipPart(FxLoadString(id)), "") << "no tool tip for " << id;
        }
    }
}

}  // namespace
