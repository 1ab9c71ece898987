// The views' error check.
#include "netinfo/ErrorCheck.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

using namespace netinfo;

namespace {

ErrT Thrown(HRESULT hr, const char* source, int line)
{
    try {
        ErrorCheck(hr, source, line);
    } catch (const ErrT& error) {
        return error;
    }
    ADD_FAILURE() << "no ErrT for " << hr;
    return ErrT{};
}

TEST(ErrorCheck, NonNegativeResultsPassUnchanged)
{
    for (HRESULT hr : {S_OK, S_FALSE, HRESULT(1234), HRESULT(INT_MAX)})
        EXPECT_EQ(hr, ErrorCheck(hr, "ViewSummary/ViewSummary", 76));
}

TEST(ErrorCheck, NegativeResultThrowsCodeLineAndSource)
{
    for (HRESULT hr : {E_FAIL, E_UNEXPECTED, E_OUTOFMEMORY, E_INVALIDARG, HRESULT(INT_MIN), HRESULT(-1)}) {
        const ErrT error = Thrown(hr, "ViewSummary/ViewSummary", 76);
        EXPECT_EQ(hr, error.code);
        EXPECT_EQ(76, error.line);
        EXPECT_STREQ("ViewSummary/ViewSummary", error.source); // only backslashes separate
    }
    EXPECT_EQ(-5, Thrown(E_FAIL, "x", -5).line);
}

TEST(ErrorCheck, SourceIsTheTextAfterTheLastBackslash)
{
    EXPECT_STREQ("Page1.cpp", Thrown(E_FAIL, "C:\\src\\gui\\viewipconfig\\Page1.cpp", 135).source);
    EXPECT_STREQ("name", Thrown(E_FAIL, "\\name", 1).source);
    EXPECT_STREQ("", Thrown(E_FAIL, "dir\\", 1).source);
    EXPECT_STREQ("", Thrown(E_FAIL, "", 1).source);
    EXPECT_STREQ("", Thrown(E_FAIL, nullptr, 1).source);
}

TEST(ErrorCheck, SourceKeepsAtMost63Characters)
{
    const std::string longName(100, 'n');
    const ErrT error = Thrown(E_FAIL, ("C:\\dir\\" + longName).c_str(), 1);
    EXPECT_EQ(std::string(63, 'n'), error.source);
    EXPECT_EQ('\0', error.source[63]);

    const std::string exact(63, 'e');
    EXPECT_EQ(exact, Thrown(E_FAIL, exact.c_str(), 1).source);
}

} // namespace
