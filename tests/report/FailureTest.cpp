// A read that fails: one line on standard error saying what and its code,
// status 1, and every other page still printed, in text and in JSON.
#include "FakeIpHelper.h"
#include "ReportTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace netinfo;
using namespace report;

using namespace report_test;

namespace {

// A device that answers everything, before a test breaks one read.
void Script(FakeIpHelper& fake)
{
    fake.hostName = "pda1";
    fake.adapters.push_back({.index = 2, .name = "{TWO}"});
    fake.interfaces.push_back({.index = 2, .name = L"if2"});
    fake.udp.dwInDatagrams = 42;
}

class Failures : public testing::Test {
protected:
    void SetUp() override { Script(fake); }

    FakeIpHelper fake;
};

TEST_F(Failures, ProtocolTableFailureKeepsTheOtherTables)
{
    fake.tcpAnswer = ERROR_NOT_SUPPORTED;

    const ReportOutcome text = Invoke({L"tcp", L"udp"});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(text.err, "Failed to retrieve statistics\n");
    EXPECT_TRUE(PageLines(text.out, "TCP").empty());
    EXPECT_EQ(Lines(text.out).front(), "UDP");
    EXPECT_EQ(SplitRowLine(PageLines(text.out, "UDP").at(0)),
              (std::pair<std::string, std::string>{"received datagrams", "42"}));

    const ReportOutcome json = Invoke({L"--json", L"tcp", L"udp"});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(json.err, text.err);
    const json::Value document = Document(json.out);
    EXPECT_EQ(document.Keys(), (std::vector<std::string>{"udp", "errors"}));
    ASSERT_EQ(document.at("errors").items.size(), 1u);
    const json::Value& error = document.at("errors").at(0);
    EXPECT_EQ(error.at("page").text, "tcp");
    EXPECT_EQ(error.at("message").text, "Failed to retrieve statistics");
    EXPECT_EQ(error.at("code").AsUint32(), 0x80004005u);
}

// Both ICMP tables come from the one platform call, so both fail with it.
TEST_F(Failures, IcmpFailureFailsBothDirections)
{
    fake.icmpAnswer = ERROR_INVALID_PARAMETER;
    const ReportOutcome outcome = Invoke({L"icmp-in", L"icmp-out", L"udp"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "Failed to retrieve statistics\nFailed to retrieve statistics\n");
    EXPECT_EQ(Lines(outcome.out).front(), "UDP");
}

TEST(FailuresOfOtherReads, NameWhatFailedAndItsCodeInHex)
{
    struct Case {
        const char* what;
        std::function<void(FakeIpHelper&)> fail;
        std::vector<std::wstring> arguments;
        std::string message;
        std::string page;
        uint32_t code;
    };
    const Case cases[] = {
        {"adapters probe", [](FakeIpHelper& f) { f.adaptersInfoCall.probeAnswer = ERROR_NO_DATA; },
         {L"adapters", L"udp"}, "Failed to read the adapters: 0x8000FFFF", "adapters", 0x8000FFFFu},
        {"network parameters fill", [](FakeIpHelper& f) { f.networkParamsCall.fillAnswer = ERROR_INVALID_DATA; },
         {L"summary", L"udp"}, "Failed to read the network parameters: 0x80004005", "summary", 0x80004005u},
        {"network parameters memory", [](FakeIpHelper& f) { f.allocationLimit = 0; },
         {L"summary", L"udp"}, "Failed to read the network parameters: 0x8007000E", "summary", 0x8007000Eu},
        {"interface list probe", [](FakeIpHelper& f) { f.interfaceInfoCall.probeAnswer = ERROR_BUFFER_OVERFLOW; },
         {L"interfaces", L"udp"}, "Failed to read the interfaces: 0x8000FFFF", "interfaces", 0x8000FFFFu},
        {"interface by index, list probe",
         [](FakeIpHelper& f) { f.interfaceInfoCall.probeAnswer = ERROR_BUFFER_OVERFLOW; },
         {L"interface", L"2", L"udp"}, "Failed to read interface 2: 0x8000FFFF", "interface", 0x8000FFFFu},
        {"interface index no interface has", [](FakeIpHelper&) {},
         {L"interface", L"7", L"udp"}, "Failed to read interface 7: 0x80070057", "interface", 0x80070057u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeIpHelper fake;
        Script(fake);
        c.fail(fake);

        std::vector<std::wstring> arguments = c.arguments;
        const ReportOutcome text = Invoke(arguments);
        EXPECT_EQ(text.exitCode, 1);
        EXPECT_EQ(text.err, c.message + "\n");
        EXPECT_EQ(Lines(text.out).front(), "UDP") << text.out;

        arguments.push_back(L"--json");
        const ReportOutcome json = Invoke(arguments);
        EXPECT_EQ(json.exitCode, 1);
        const json::Value document = Document(json.out);
        EXPECT_EQ(document.Keys(), (std::vector<std::string>{"udp", "errors"}));
        EXPECT_EQ(document.at("errors").at(0).at("page").text, c.page);
        EXPECT_EQ(document.at("errors").at(0).at("message").text, c.message);
        EXPECT_EQ(document.at("errors").at(0).at("code").AsUint32(), c.code);
    }
}

TEST_F(Failures, MissingInterfaceAmongOthersAndAmongEveryInterface)
{
    const ReportOutcome chosen = Invoke({L"--json", L"interface", L"7", L"interface", L"2"});
    EXPECT_EQ(chosen.exitCode, 1);
    EXPECT_EQ(chosen.err, "Failed to read interface 7: 0x80070057\n");
    const json::Value interfaces = Document(chosen.out).at("interfaces");
    ASSERT_EQ(interfaces.items.size(), 1u);
    EXPECT_EQ(interfaces.at(0).at("name").text, "if2");

    // Every interface is printed; the index none of them has still fails.
    const ReportOutcome every = Invoke({L"interfaces", L"interface", L"7", L"interface", L"2"});
    EXPECT_EQ(every.exitCode, 1);
    EXPECT_EQ(every.err, "Failed to read interface 7: 0x80070057\n");
    EXPECT_EQ(PageLines(every.out, "Interface 2: if2").size(), 14u);
}

TEST_F(Failures, EveryReadFailingStillGivesADocument)
{
    fake.networkParamsCall.probeAnswer = NO_ERROR;
    fake.adaptersInfoCall.probeAnswer = ERROR_NO_DATA;
    fake.interfaceInfoCall.fillAnswer = ERROR_INVALID_DATA;
    fake.tcpAnswer = fake.ipAnswer = fake.udpAnswer = fake.icmpAnswer = ERROR_NOT_SUPPORTED;

    const ReportOutcome text = Invoke({});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(text.out, "");
    EXPECT_EQ(text.err, "Failed to read the network parameters: 0x8000FFFF\n"
                        "Failed to read the adapters: 0x8000FFFF\n"
                        "Failed to read the interfaces: 0x80004005\n"
                        "Failed to retrieve statistics\n"
                        "Failed to retrieve statistics\n"
                        "Failed to retrieve statistics\n"
                        "Failed to retrieve statistics\n"
                        "Failed to retrieve statistics\n");

    const json::Value document = Document(Invoke({L"--json"}).out);
    EXPECT_EQ(document.Keys(), std::vector<std::string>{"errors"});
    std::vector<std::string> pages;
    for (const json::Value& error : document.at("errors").items)
        pages.push_back(error.at("page").text);
    EXPECT_EQ(pages, (std::vector<std::string>{"summary", "adapters", "interfaces", "tcp", "ip", "udp", "icmp-in",
                                               "icmp-out"}));
}

// Nothing fails: status 0 and nothing on standard error, no "errors" member.
TEST_F(Failures, NoneMeansStatusZeroAndNoErrors)
{
    const ReportOutcome outcome = Invoke({L"--json"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(Document(outcome.out).Keys(), (std::vector<std::string>{"summary", "adapters", "interfaces", "tcp", "ip",
                                                                      "udp", "icmp-in", "icmp-out"}));
}

} // namespace
