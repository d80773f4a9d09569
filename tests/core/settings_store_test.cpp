#include "shell/settings_store.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "tests/support/test_pictures.h"

namespace orv {

// Every test works in a fresh folder of its own, never in the user's store.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        SetSettingsFolder(folder.path());
    }
    void TearDown() override { SetSettingsFolder({}); }

    QString storeFile() const { return folder.filePath(kAppTitle + ".ini"); }

    QTemporaryDir folder;
};

TEST_F(SettingsStore, MissingKeysAndSectionsGiveTheDefault)
{
    EXPECT_EQ(GetSetting(kAppTitle, "Settings", "MainLeft", "1000"), "1000");
    SaveSetting(kAppTitle, "Settings", "MainTop", "5");
    EXPECT_EQ(GetSetting(kAppTitle, "Settings", "MainLeft", "1000"), "1000");
    EXPECT_EQ(GetSetting(kAppTitle, "Preferences", "SplshScrn", "1"), "1");
    EXPECT_EQ(GetSettingNumber(kAppTitle, "Settings", "MainWidth", 6500), 6500);
    EXPECT_TRUE(GetSettingBool(kAppTitle, "Settings", "ToolBar", true));
    // An empty stored text is a stored value, not an absent one.
    SaveSetting(kAppTitle, "Settings", "Tools", "");
    EXPECT_EQ(GetSetting(kAppTitle, "Settings", "Tools", "x"), "");
}

TEST_F(SettingsStore, ValuesAreWrittenAsPlainTextAtOnce)
{
    SaveSetting(kAppTitle, "Settings", "MainLeft", SettingText(1000.0));
    SaveSetting(kAppTitle, "Settings", "ToolBar", SettingText(false));
    SaveSetting(kAppTitle, "Round Wobbly", "Last width", "12, 5 @Variant");
    // Readable by another process straight after the write: the file holds the text as given.
    EXPECT_EQ(test::ReadAll(storeFile()), "[Round Wobbly]\nLast width=12, 5 @Variant\n\n"
                           "[Settings]\nMainLeft=1000\nToolBar=False\n");
}

TEST_F(SettingsStore, TextRoundTripsExactly)
{
    const QString texts[] = {"  spaces  inside and around ", "Grüße, 日本 ✓",
                             "50% = half; [x] #1", "two\nlines", "@Variant(abc)", "a,b,c", "C:\\dir\\f.bmp"};
    int i = 0;
    for (const QString& text : texts) {
        const QString key = QStringLiteral("Key %1 ü=;[").arg(i++);
        SaveSetting(kAppTitle, "Section with spaces", key, text);
        EXPECT_EQ(GetSetting(kAppTitle, "Section with spaces", key, "default"), text);
    }
    // Application names are separate stores.
    SaveSetting("Other App", "S", "K", "other");
    EXPECT_EQ(GetSetting(kAppTitle, "S", "K", "none"), "none");
    EXPECT_EQ(GetSetting("Other App", "S", "K", "none"), "other");
}

TEST_F(SettingsStore, NumbersAreShortestSinglePrecisionDecimals)
{
    // Single precision, never in exponent form.
    const std::pair<double, const char*> numbers[] = {{1000.0, "1000"}, {-3.25, "-3.25"}, {0.1, "0.1"},
                                                      {1.0 / 3.0, "0.33333334"}, {1e6, "1000000"}, {0.0, "0"}};
    for (auto [v, text] : numbers) EXPECT_EQ(SettingText(v), text) << v;
    EXPECT_EQ(SettingText(true), "True");
}

TEST_F(SettingsStore, TypedReadersConvertTextOrFallBackToTheDefault)
{
    // Number 99 and boolean -1 stand for the default.
    const struct { const char* text; double number; int boolean; } cases[] = {
        {" 12.5 ", 12.5, 1}, {"0", 0, 0}, {"1E+20", 1e20, 1}, {".5", 0.5, 1}, {" tRUe ", 99, 1}, {" False ", 99, 0},
        {"", 99, -1}, {"12abc", 99, -1}, {"inf", 99, -1}, {"nan", 99, -1}, {"1e999", 99, -1}, {"1,5", 99, -1},
        {"yes", 99, -1}, {"0x10", 99, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SaveSetting(kAppTitle, "Settings", "V", c.text);
        EXPECT_EQ(GetSettingNumber(kAppTitle, "Settings", "V", 99), c.number);
        for (bool fallback : {true, false})
            EXPECT_EQ(GetSettingBool(kAppTitle, "Settings", "V", fallback), c.boolean < 0 ? fallback : c.boolean == 1);
    }
}

TEST_F(SettingsStore, ReadsFilesWrittenByHand)
{
    test::WriteAll(storeFile(), "; comment\r\n[Settings]\r\nMainLeft = 1200\r\nMainState=0\r\n\r\n[Wobbly]\nWidth=10\n");
    EXPECT_EQ(GetSettingNumber(kAppTitle, "Settings", "MainLeft", 0), 1200);
    EXPECT_EQ(GetSetting(kAppTitle, "Settings", "MainState", "2"), "0");
    EXPECT_EQ(GetSetting(kAppTitle, "Wobbly", "Width", ""), "10");
    // A later save keeps the other keys.
    SaveSetting(kAppTitle, "Wobbly", "Mode", "2");
    EXPECT_EQ(GetSetting(kAppTitle, "Settings", "MainState", "2"), "0");
    EXPECT_EQ(GetSetting(kAppTitle, "Wobbly", "Width", ""), "10");
}

TEST_F(SettingsStore, ChosenFolderWinsOverTheEnvironment)
{
    QTemporaryDir other;
    qputenv("ORVANE_SETTINGS_DIR", other.path().toUtf8());
    SaveSetting(kAppTitle, "S", "K", "chosen");
    SetSettingsFolder({});
    EXPECT_EQ(GetSetting(kAppTitle, "S", "K", "none"), "none");   // now the environment's folder
    SaveSetting(kAppTitle, "S", "K", "environment");
    EXPECT_TRUE(QFile::exists(other.filePath(kAppTitle + ".ini")));
    SetSettingsFolder(folder.path());
    EXPECT_EQ(GetSetting(kAppTitle, "S", "K", "none"), "chosen");
    qunsetenv("ORVANE_SETTINGS_DIR");
}

} // namespace orv
