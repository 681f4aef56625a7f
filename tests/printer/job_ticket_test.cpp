#include <gtest/gtest.h>

#include <memory>

#include "fake_laserwriter.h"
#include "job_ticket.h"
#include "nbp_names.h"

namespace {

TEST(ZJobTicket, StartsWithTheDefaultPrinterAndTheDefaultOptions)
{
    FakeLaserWriter stack;
    _NBPTuple printer = NBPMakeTuple("Lab LaserWriter II", "LaserWriter", "Engineering");
    printer.network = 1003;
    printer.node = 12;
    printer.socket = 130;
    stack.defaultPrinter = printer;

    ZJobTicket ticket(stack, "C:\\jobs\\first.ps");
    EXPECT_EQ(std::memcmp(&ticket.m_printer, &printer, sizeof printer), 0);
    EXPECT_TRUE(ticket.m_bWaitForEOF);
    EXPECT_FALSE(ticket.m_bAppendShowpage);
    EXPECT_FALSE(ticket.m_bStripCtrlChars);
    ticket.AddFile("C:\\jobs\\second.ps");
    ticket.AddFile("C:\\jobs\\first.ps");
    EXPECT_EQ(ticket.GetFiles(),
              (std::vector<std::string>{"C:\\jobs\\first.ps", "C:\\jobs\\second.ps", "C:\\jobs\\first.ps"}));

    ZJobTicket empty(stack);
    EXPECT_TRUE(empty.GetFiles().empty());
}

TEST(ZJobTicket, WithoutADefaultPrinterThePrinterIsEmpty)
{
    FakeLaserWriter stack;
    ZJobTicket ticket(stack);
    EXPECT_EQ(NBPSlotText(ticket.m_printer.object), "");
    EXPECT_EQ(ticket.m_printer.network, 0);
}

TEST(ZJobTicket, DynamicCreationAsksTheProgramsStackForTheDefaultPrinter)
{
    const CRuntimeClass* rc = RUNTIME_CLASS(ZJobTicket);
    EXPECT_STREQ(rc->m_lpszClassName, "ZJobTicket");

    ZJobTicket::s_pDefaultStack = nullptr;
    std::unique_ptr<CObject> bare(rc->CreateObject());
    ASSERT_NE(bare, nullptr);
    ASSERT_TRUE(bare->IsKindOf(RUNTIME_CLASS(ZJobTicket)));
    auto* ticket = static_cast<ZJobTicket*>(bare.get());
    EXPECT_EQ(NBPSlotText(ticket->m_printer.object), "");
    EXPECT_TRUE(ticket->m_bWaitForEOF);
    EXPECT_TRUE(ticket->GetFiles().empty());

    FakeLaserWriter stack;
    stack.defaultPrinter = NBPMakeTuple("Lab LaserWriter II", "LaserWriter", "Engineering");
    ZJobTicket::s_pDefaultStack = &stack;
    std::unique_ptr<CObject> made(rc->CreateObject());
    ZJobTicket::s_pDefaultStack = nullptr;
    EXPECT_EQ(NBPSlotText(static_cast<ZJobTicket*>(made.get())->m_printer.object), "Lab LaserWriter II");
}

TEST(ZJobTicket, TitlesAndPrinterNamesAsTheDialogShowsThem)
{
    EXPECT_EQ(JobFileTitle("C:\\jobs\\Report 1.ps"), "Report 1.ps");
    EXPECT_EQ(JobFileTitle("/tmp/x/a.txt"), "a.txt");
    EXPECT_EQ(JobFileTitle("C:a.ps"), "a.ps");
    EXPECT_EQ(JobFileTitle("plain.ps"), "plain.ps");
    EXPECT_EQ(JobPrinterDisplayName(NBPMakeTuple("LaserWriter Pro 630", "LaserWriter", "Engineering")),
              "LaserWriter Pro 630:LaserWriter@Engineering");
    _NBPTuple full{};
    std::memset(full.object, 'x', sizeof full.object);  // no NUL: cut at 32
    EXPECT_EQ(JobPrinterDisplayName(full), std::string(32, 'x') + ":@");
}

}  // namespace
