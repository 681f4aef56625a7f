// The module the framework lives in: its instance handle is the module's
// own, and the window classes it registered go away with it.
#include <gtest/gtest.h>

#include "fx/module.h"
#include "fx/wnd.h"

namespace {

TEST(Module, WindowClassesBelongToTheModuleAndAreUnregisteredWithIt)
{
    // A program: the framework's module is the executable.
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr));

    const char* name = CWnd::RegisterWndClass(CS_DBLCLKS | CS_SAVEBITS);
    ASSERT_NE(name, nullptr);
    WNDCLASSA wc{};
    EXPECT_TRUE(GetClassInfoA(AfxGetInstanceHandle(), name, &wc));
    EXPECT_EQ(CWnd::RegisterWndClass(CS_DBLCLKS | CS_SAVEBITS), name);

    FxUnregisterClasses();
    EXPECT_FALSE(GetClassInfoA(AfxGetInstanceHandle(), name, &wc));
    // Asked again, the class is there again.
    EXPECT_EQ(CWnd::RegisterWndClass(CS_DBLCLKS | CS_SAVEBITS), name);
    EXPECT_TRUE(GetClassInfoA(AfxGetInstanceHandle(), name, &wc));
}

}  // namespace
