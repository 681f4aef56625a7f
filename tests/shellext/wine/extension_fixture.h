// The extension classes of VSXPROPS made the way the shell makes them (a
// class factory, Initialize with a data object, AddPages, then the shell
// lets go of its reference), against a real atnetd; after each test no
// extension, record or page object may be left, and the module may unload.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <string>

#include "atnetd_process.h"
#include "fx/ole_inproc.h"
#include "net_info.h"
#include "net_page.h"
#include "selection_data.h"
#include "sheet_host.h"
#include "shell_ext.h"

namespace shelltest {

// One extension object, as the shell holds it between Initialize and
// AddPages.
class Extension {
public:
    explicit Extension(const CRuntimeClass* cls)
        : factory_(CLSID_NULL, cls, "")
    {
        factory_.GetClassFactory()->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init_));
        if (init_)
            init_->QueryInterface(IID_IShellPropSheetExt, reinterpret_cast<void**>(&pages_));
    }
    ~Extension() { Release(); }
    Extension(const Extension&) = delete;
    Extension& operator=(const Extension&) = delete;

    // Initialize with `data`; the shell then drops its own reference to it.
    HRESULT Initialize(DataObject* data)
    {
        const HRESULT hr = init_->Initialize(nullptr, data, nullptr);
        if (data)
            data->Release();
        return hr;
    }
    HRESULT AddPages(SheetHost& host) { return host.AddPagesOf(pages_); }
    CVSXShellExt* Object() const { return static_cast<CVSXShellExt*>(init_); }
    IShellExtInit* Init() const { return init_; }
    void Release()
    {
        if (pages_)
            pages_->Release();
        if (init_)
            init_->Release();
        pages_ = nullptr;
        init_ = nullptr;
    }

private:
    COleRuntimeFactory factory_;
    IShellExtInit* init_ = nullptr;
    IShellPropSheetExt* pages_ = nullptr;
};

class ExtensionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControls();
        ASSERT_TRUE(service_.StartWorldFile(SAMPLE_WORLD));
    }
    void TearDown() override
    {
        EXPECT_EQ(CVSXShellExt::LiveCount(), 0) << "extensions left";
        EXPECT_EQ(CNetInfoObj::LiveCount(), 0) << "records left";
        EXPECT_EQ(CNetPage::LiveCount(), 0) << "page objects left";
        EXPECT_EQ(AfxDllCanUnloadNow(), S_OK);
    }

    // Makes an extension of `cls`, initializes it with `data`, offers its
    // pages to `host` and lets it go, as the shell does. The Initialize
    // result goes to `initialized`.
    void Open(const CRuntimeClass* cls, DataObject* data, SheetHost& host, HRESULT* initialized = nullptr)
    {
        Extension ext(cls);
        const HRESULT hr = ext.Initialize(data);
        if (initialized)
            *initialized = hr;
        EXPECT_EQ(ext.AddPages(host), S_OK);
    }

    std::vector<nlohmann::json> Calls(const std::string& op) const { return service_.TraceOf(op); }

    attest::AtnetdProcess service_;
};

// A date as the pages write it, in this machine's local time.
inline std::string PageDate(int32_t seconds)
{
    const std::time_t when = seconds;
    char text[128];
    std::strftime(text, sizeof text, "%A,  %B %d, %Y at %I:%M %p", std::localtime(&when));
    return text;
}

}  // namespace shelltest
