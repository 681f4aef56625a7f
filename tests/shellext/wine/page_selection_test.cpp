// How each extension reads its selection and which pages it offers: zones,
// multiple selections, providers, the kind priority, refused pages, and
// the lifetime of extensions, records and pages around an open sheet.
#include "extension_fixture.h"

#include "dialog_driver.h"
#include "file_props.h"
#include "net_props.h"
#include "printer_ext.h"
#include "resource.h"
#include "test_printer.h"

namespace shelltest {
namespace {

const NetItem kZone{"\\\\Engineering", "AppleTalk Network"};

class PageSelection : public ExtensionTest {};

TEST_F(PageSelection, AZoneFromTheNetworkViewGetsTheZonePage)
{
    SheetHost host;
    HRESULT hr = E_UNEXPECTED;
    Open(RUNTIME_CLASS(CVSXNetProps), NetResources({kZone}), host, &hr);
    EXPECT_EQ(hr, S_OK);
    ASSERT_TRUE(host.Show());
    ASSERT_EQ(host.pages.size(), 1u);
    EXPECT_EQ(ItemText(host.Page(0), IDC_ZONE_NAME), "Engineering");
    EXPECT_EQ(GetWindowLongPtrA(host.sheet, GWL_EXSTYLE) & WS_EX_CONTEXTHELP, 0);
    dtest::SaveScreenshot(host.sheet, "zone_page");
}

TEST_F(PageSelection, SeveralNetworkObjectsTestTheLastProviderAndGetTheMultiplePage)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps),
         NetResources({{"\\\\Somewhere", "Microsoft Windows Network"}, {"\\\\Marketing", "AppleTalk Network"}}), host);
    ASSERT_TRUE(host.Show());
    ASSERT_EQ(host.pages.size(), 1u);
    EXPECT_EQ(GetDlgItem(host.Page(0), IDC_ZONE_NAME), nullptr);  // the multiple-selection page
    EXPECT_EQ(Calls("afp.bitmap").size(), 0u);
}

TEST_F(PageSelection, OtherProvidersAndEmptyBlocksOfferNothing)
{
    const std::vector<std::vector<NetItem>> selections = {
        {{"\\\\Engineering", "AppleTalk Network"}, {"\\\\Files", "Microsoft Windows Network"}},
        {{"\\\\Engineering", "appletalk network"}},
        {},
    };
    for (const auto& items : selections) {
        SheetHost host;
        HRESULT hr = S_OK;
        Open(RUNTIME_CLASS(CVSXNetProps), NetResources(items), host, &hr);
        EXPECT_EQ(hr, E_FAIL) << items.size();
        EXPECT_EQ(host.offers, 0);
    }
}

TEST_F(PageSelection, AFileThroughTheNetworkExtensionGetsAnEmptyZonePage)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), DroppedFiles({"\\\\Engineering Server\\Projects\\SimpleText"}), host);
    ASSERT_TRUE(host.Show());
    ASSERT_EQ(host.pages.size(), 1u);
    EXPECT_EQ(ItemText(host.Page(0), IDC_ZONE_NAME), "");
    EXPECT_EQ(Calls("afp.fldr").size(), 0u);
}

TEST_F(PageSelection, TheHighestKindBitWins)
{
    EXPECT_EQ(KindOfBitmap(NETOBJ_VOLUME | NETOBJ_FOLDER), NETOBJ_FOLDER);
    EXPECT_EQ(KindOfBitmap(NETOBJ_PRINTER | NETOBJ_FILE), NETOBJ_PRINTER);
    EXPECT_EQ(KindOfBitmap(NETOBJ_FILE | NETOBJ_FOLDER), NETOBJ_FILE);
    EXPECT_EQ(KindOfBitmap(NETOBJ_ZONE | NETOBJ_SERVER), NETOBJ_SERVER);
    EXPECT_EQ(KindOfBitmap(0x0100), NETOBJ_NONE);
}

TEST_F(PageSelection, DataObjectFailuresAreReturnedAndANullDataObjectFails)
{
    Extension file(RUNTIME_CLASS(CVSXFileProps));
    EXPECT_EQ(file.Initialize(new DataObject), DV_E_FORMATETC);
    EXPECT_EQ(file.Initialize(nullptr), E_FAIL);

    // Initialize again lets go of the data object it held.
    auto* first = DroppedFiles({"\\\\Engineering Server\\Projects\\SimpleText"});
    first->AddRef();
    EXPECT_EQ(file.Initialize(first), S_OK);
    EXPECT_EQ(first->References(), 2);
    EXPECT_EQ(file.Initialize(DroppedFiles({"\\\\Engineering Server\\Projects\\SimpleText"})), S_OK);
    EXPECT_EQ(first->References(), 1);
    first->Release();
}

TEST_F(PageSelection, APrinterNotAmongTheLocalPrintersOffersNothing)
{
    SheetHost host;
    HRESULT hr = S_OK;
    Open(RUNTIME_CLASS(CVSXPrinterExt), PrinterSelection("LaserWriter Pro 630:LaserWriter@Engineering"), host, &hr);
    EXPECT_EQ(hr, E_FAIL);
    Open(RUNTIME_CLASS(CVSXPrinterExt), PrinterSelection("Office Printer"), host, &hr);
    EXPECT_EQ(hr, E_FAIL);
    EXPECT_EQ(host.offers, 0);
}

TEST_F(PageSelection, AWindowsPrinterOnAnAppleTalkPortGetsAPrinterRecord)
{
    const char name[] = "LaserWriter Pro 630:LaserWriter@Engineering";
    vtest::TestPrinter printer(name, name);
    ASSERT_TRUE(printer.Installed()) << GetLastError();
    Extension ext(RUNTIME_CLASS(CVSXPrinterExt));
    EXPECT_EQ(ext.Initialize(PrinterSelection(name)), S_OK);
    auto* printerExt = static_cast<CVSXPrinterExt*>(ext.Object());
    EXPECT_EQ(printerExt->m_strPort, name);
    EXPECT_EQ(printerExt->m_strPrinter, name);
    ASSERT_NE(printerExt->m_pRecord, nullptr);
    EXPECT_EQ(printerExt->m_pRecord->m_nKind, NETOBJ_PRINTER);
    EXPECT_EQ(printerExt->m_pRecord->GetNameAt(0), "LaserWriter Pro 630");
    EXPECT_EQ(printerExt->m_pRecord->GetNameAt(1), "Engineering");
    EXPECT_EQ(printerExt->m_pRecord->GetNameAt(2), "LaserWriter");
    EXPECT_EQ(printerExt->m_pRecord->GetNameAt(3), name);
}

TEST_F(PageSelection, AWindowsPrinterOnAnotherPortOffersNothing)
{
    const char name[] = "LaserWriter Pro 630:LaserWriter@Engineering";
    vtest::TestPrinter printer(name, "LPT9:");
    ASSERT_TRUE(printer.Installed()) << GetLastError();
    Extension ext(RUNTIME_CLASS(CVSXPrinterExt));
    EXPECT_EQ(ext.Initialize(PrinterSelection(name)), E_FAIL);
}

TEST_F(PageSelection, ARefusedPageIsFreedAtOnce)
{
    SheetHost host;
    host.refuse = true;
    Open(RUNTIME_CLASS(CVSXFileProps), DroppedFiles({"\\\\Engineering Server\\Projects\\SimpleText"}), host);
    EXPECT_EQ(host.offers, 1);
    EXPECT_EQ(CNetInfoObj::LiveCount(), 0);
    EXPECT_EQ(CVSXShellExt::LiveCount(), 0);
}

TEST_F(PageSelection, TheExtensionLivesWhileItsSheetIsOpen)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), DroppedFiles({"\\\\Engineering Server\\Projects\\Vestrel 2.5"}), host);
    ASSERT_TRUE(host.Show());
    EXPECT_EQ(CVSXShellExt::LiveCount(), 1);
    EXPECT_EQ(CNetInfoObj::LiveCount(), 1);
    EXPECT_EQ(CNetPage::LiveCount(), 1);
    EXPECT_EQ(AfxDllCanUnloadNow(), S_FALSE);
    host.Close();
    EXPECT_EQ(AfxDllCanUnloadNow(), S_OK);
}

TEST_F(PageSelection, PagesNeverShownAreReleasedToo)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXFileProps), DroppedFiles({"\\\\Engineering Server\\Projects\\SimpleText"}), host);
    ASSERT_EQ(host.pages.size(), 1u);
    EXPECT_EQ(AfxDllCanUnloadNow(), S_FALSE);
    host.Close();  // the shell gave up before showing its sheet
}

}  // namespace
}  // namespace shelltest
