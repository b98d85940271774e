#include "widgets/link_label_logic.h"

#include <gtest/gtest.h>

namespace {

using corv::LinkTarget;

TEST(LinkLabelStyle, AddThenRemoveWithRemoveWinning) {
    EXPECT_EQ(1u, corv::ChangeLabelStyle(0, 0, 1));
    EXPECT_EQ(6u, corv::ChangeLabelStyle(7, 1, 0));  // bold off, italic and underline kept
    EXPECT_EQ(0u, corv::ChangeLabelStyle(0, 8, 8));
    EXPECT_EQ(48u, corv::ChangeLabelStyle(16, 0, 32));
}

TEST(LinkLabelStyle, FlagsGiveTheFontParts) {
    const corv::LabelFontLook plain = corv::FontLookForFlags(0);
    EXPECT_EQ(400, plain.weight);
    EXPECT_FALSE(plain.italic || plain.underline || plain.strikeOut);
    const corv::LabelFontLook all = corv::FontLookForFlags(1 | 2 | 4 | 8 | 16 | 32);
    EXPECT_EQ(700, all.weight);
    EXPECT_TRUE(all.italic && all.underline && all.strikeOut);
    // The frame bits change nothing of the font.
    EXPECT_EQ(400, corv::FontLookForFlags(16 | 32).weight);
    EXPECT_FALSE(corv::FontLookForFlags(16 | 32).underline);
}

TEST(LinkTarget, WebAddressesOpenAsShown) {
    EXPECT_EQ("http://corv.example.org", LinkTarget("http://corv.example.org"));
    EXPECT_EQ("HTTPS://corv.example.org/a?b=c", LinkTarget("HTTPS://corv.example.org/a?b=c"));
    EXPECT_EQ("http://www.example.org", LinkTarget("www.example.org"));
    EXPECT_EQ("http://corv.example.org", LinkTarget("  http://corv.example.org\t"));
}

TEST(LinkTarget, MailAddressesGetTheMailScheme) {
    EXPECT_EQ("mailto:corv@example.org", LinkTarget("corv@example.org"));
    EXPECT_EQ("mailto:corv@example.org", LinkTarget("mailto:corv@example.org"));
    EXPECT_EQ("", LinkTarget("@example.org"));
    EXPECT_EQ("", LinkTarget("corv@"));
    EXPECT_EQ("", LinkTarget("corv@localhost"));
    EXPECT_EQ("", LinkTarget("a@b@example.org"));
    EXPECT_EQ("", LinkTarget("corv@example."));
}

TEST(LinkTarget, PathsProgramsAndOtherSchemesNeverOpen) {
    EXPECT_EQ("", LinkTarget(""));
    EXPECT_EQ("", LinkTarget("   "));
    EXPECT_EQ("", LinkTarget("C:\\Windows\\notepad.exe"));
    EXPECT_EQ("", LinkTarget("notepad.exe"));
    EXPECT_EQ("", LinkTarget("file:///C:/Windows/notepad.exe"));
    EXPECT_EQ("", LinkTarget("javascript:alert(1)"));
    EXPECT_EQ("", LinkTarget("\\\\server\\share\\x@y.org"));
    EXPECT_EQ("", LinkTarget("http://"));  // a scheme with nothing after it
    EXPECT_EQ("", LinkTarget("http://corv.example.org\r\ncalc.exe"));
    EXPECT_EQ("", LinkTarget("www.example.org\\..\\x.exe"));
    // Korean text of the label (code page 949) is no address either.
    EXPECT_EQ("", LinkTarget("\xC8\xA8\xC7\xC7"));
}

}  // namespace
