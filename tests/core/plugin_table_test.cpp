#include "platform/work_folder.h"
#include "plugins/host_protocol.h"
#include "plugins/plugin_host.h"
#include "plugins/plugin_table.h"
#include "tests/support/test_pictures.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace orv {
namespace {

// Libraries by file name: whether their object can be created at first, and after their
// registration step; a mute one never answers.
struct FakeLibrary { bool createsAtOnce; bool createsAfterRegistration; bool mute = false; };

class FakeCalls : public PlugInCalls {
public:
    explicit FakeCalls(std::map<QString, FakeLibrary> libraries) : libraries_(std::move(libraries)) {}
    QList<PlugInAnswer> names(const QList<PlugInRecord>& asked) override
    {
        QList<PlugInAnswer> answers;
        for (const PlugInRecord& r : asked) {
            calls.append(QStringLiteral("name ") + Stem(r.library) + u' ' + r.ClassName);
            const FakeLibrary& l = libraries_.at(Stem(r.library));
            PlugInAnswer a;
            a.answered = !l.mute;
            if (!l.mute && (registered_.contains(r.library) ? l.createsAfterRegistration : l.createsAtOnce))
                a.name = Stem(r.library) + QStringLiteral(" menu text");
            answers.append(a);
        }
        return answers;
    }
    QList<bool> registerLibraries(const QStringList& libraries) override
    {
        for (const QString& library : libraries) {
            calls.append(QStringLiteral("register ") + Stem(library));
            registered_.insert(library);
        }
        return QList<bool>(libraries.size(), true);
    }
    QStringList calls;

private:
    static QString Stem(const QString& path) { return path.section(u'/', -1); }
    std::map<QString, FakeLibrary> libraries_;
    QSet<QString> registered_;
};

// All names are asked in one round; the libraries that could not be created are registered
// and asked again together; a library that does not answer gets no registration.
TEST(PlugInScan, EachFileGetsOneRegistrationAndOneRetryUnlessItDoesNotAnswer)
{
    FakeCalls calls({{"A.dll", {true, true}}, {"Late.dll", {false, true}}, {"Bad.dll", {false, false}},
                     {"Mute.dll", {false, true, true}}, {"Z.dll", {true, true}}});
    QList<PlugInRecord> table;
    const QStringList files = {"/p/A.dll", "/p/Late.dll", "/p/Bad.dll", "/p/Mute.dll", "/p/Z.dll"};
    const PlugInScanResult scan = ScanPlugIns(files, calls, &table);
    ASSERT_TRUE(scan.scanned);

    EXPECT_EQ(calls.calls, QStringList({"name A.dll A.PlugInClass", "name Late.dll Late.PlugInClass",
                                        "name Bad.dll Bad.PlugInClass", "name Mute.dll Mute.PlugInClass",
                                        "name Z.dll Z.PlugInClass", "register Late.dll", "register Bad.dll",
                                        "name Late.dll Late.PlugInClass", "name Bad.dll Bad.PlugInClass"}));
    EXPECT_EQ(scan.notCreated, QStringList({"/p/Bad.dll"}));
    EXPECT_EQ(scan.unanswered, QStringList({"/p/Mute.dll"}));
    ASSERT_EQ(table.size(), 3);
    int i = 0;
    for (const char* stem : {"A", "Late", "Z"}) {
        EXPECT_EQ(table[i].ClassName, QLatin1String(stem) + ".PlugInClass");
        EXPECT_EQ(table[i].Name, QLatin1String(stem) + ".dll menu text");
        EXPECT_EQ(table[i++].library, "/p/" + QLatin1String(stem) + ".dll");
    }
}

// A scan that finds files replaces the table, the same each time; one that finds none leaves it.
TEST(PlugInScan, AScanReplacesTheTableOnlyWhenItFindsFiles)
{
    QList<PlugInRecord> table = {{QStringLiteral("Old.PlugInClass"), QStringLiteral("Old"), QStringLiteral("/p/Old.dll")}};
    FakeCalls none({});
    EXPECT_FALSE(ScanPlugIns({}, none, &table).scanned);
    ASSERT_EQ(table.size(), 1);
    EXPECT_EQ(table[0].Name, QStringLiteral("Old"));
    EXPECT_TRUE(none.calls.isEmpty());

    FakeCalls calls({{"A.dll", {true, true}}, {"B.dll", {true, true}}});
    for (int scan = 1; scan <= 2; ++scan) {
        ScanPlugIns({"/p/A.dll", "/p/B.dll"}, calls, &table);
        ASSERT_EQ(table.size(), 2) << scan;
        EXPECT_EQ(table[0].ClassName, QStringLiteral("A.PlugInClass"));
        EXPECT_EQ(table[1].ClassName, QStringLiteral("B.PlugInClass"));
    }
}

TEST(PlugInScan, ClassNameAndRegistrationMessageComeFromTheFileName)
{
    EXPECT_EQ(PlugInClassName(QStringLiteral("Sharpen.dll")), QStringLiteral("Sharpen.PlugInClass"));
    EXPECT_EQ(PlugInClassName(QStringLiteral("My.Filter.DLL")), QStringLiteral("My.Filter.PlugInClass"));
    EXPECT_EQ(PlugInRegistrationError(QStringLiteral("Broken.dll")),
              QStringLiteral("Error resigtring Broken.dll. Please try to register it manualy using RegSvr32.exe. "
                             "Please make sure that the file have not been renamed."));
}

TEST(PlugInFolders, FilesInNameOrderProgramFolderFirstOnlyTheFirstOfAName)
{
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("program")), user = root.filePath(QStringLiteral("user"));
    QDir().mkpath(program);
    QDir().mkpath(user);
    for (const char* name : {"b.dll", "A.DLL", "c.txt", "same.dll", "dll"}) test::WriteAll(program + u'/' + QLatin1String(name), {});
    QDir().mkpath(program + QStringLiteral("/folder.dll"));
    for (const char* name : {"same.dll", "0.dll"}) test::WriteAll(user + u'/' + QLatin1String(name), {});

    const QStringList files = PlugInFiles({program, root.filePath(QStringLiteral("missing")), user});
    EXPECT_EQ(files, QStringList({program + "/A.DLL", program + "/b.dll", program + "/same.dll", user + "/0.dll"}));
    EXPECT_TRUE(PlugInFiles({root.filePath(QStringLiteral("missing"))}).isEmpty());
}

TEST(PlugInFolders, TheUsersFolderIsSearchedAfterTheProgramsAndTheWorkFolderIsPrivate)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    const QStringList folders = PlugInFolders();
    ASSERT_EQ(folders.size(), 2);
    EXPECT_TRUE(folders[0].endsWith(QStringLiteral("/plugins")));
    EXPECT_EQ(folders[1], home.path() + QStringLiteral("/Orvane/plugins"));
    EXPECT_EQ(WorkFile(QStringLiteral("Plugin.tmp")), home.path() + QStringLiteral("/Orvane/work/Plugin.tmp"));
    EXPECT_EQ(QFile::permissions(home.path() + QStringLiteral("/Orvane/work")) & 0x0077, QFileDevice::Permissions());
    qunsetenv("XDG_DATA_HOME");
}

// The helper's answers: only one well-formed line from a process that ended by itself with
// status 0 counts; everything else is a failed call.
TEST(PlugInHostReply, OnlyAWellFormedLineCounts)
{
    const QByteArray tag = "ORVANE-PLUGIN-HOST/1 ";
    const HostReply name = ParseHostReply(true, 0, tag + "NAME 506f737465726973652e2e2e\n");
    EXPECT_EQ(int(name.kind), int(HostReply::Kind::Name));
    EXPECT_EQ(name.name, QStringLiteral("Posterise..."));
    EXPECT_EQ(ParseHostReply(true, 0, tag + "NAME \n").name, QString());
    const std::tuple<bool, int, QByteArray> failed[] = {
        {false, 0, tag + "RESULT -1\n"} /* crashed after answering */, {true, 1, tag + "RESULT -1\n"} /* exit status */,
        {true, 0, QByteArray()},                        {true, 0, tag + "RESULT -1"} /* unfinished line */,
        {true, 0, tag + "RESULT -1\n" + tag + "RESULT 0\n"}, {true, 0, "hello\n" + tag + "RESULT -1\n"},
        {true, 0, tag + "RESULT minus\n"},              {true, 0, tag + "RESULT -1 extra\n"},
        {true, 0, tag + "NAME 5x\n"} /* not hex */,      {true, 0, tag + "NAME 505\n"} /* odd length */,
        {true, 0, "ORVANE-PLUGIN-HOST/2 RESULT -1\n"},  {true, 0, tag + "NAME " + QByteArray(kMaxHostReply, 'a') + "\n"},
    };
    for (const auto& [normal, code, output] : failed)
        EXPECT_EQ(int(ParseHostReply(normal, code, output).kind), int(HostReply::Kind::Failed)) << output.left(60).toStdString();
}

TEST(PlugInHostReply, WhatTheHelperWritesReadsBack)
{
    const HostReply name = ParseHostReply(true, 0, HostNameReply("Two words\nand a line"));
    EXPECT_EQ(int(name.kind), int(HostReply::Kind::Name));
    EXPECT_EQ(name.name, QStringLiteral("Two words\nand a line"));
    const HostReply result = ParseHostReply(true, 0, HostResultReply(-1));
    EXPECT_EQ(int(result.kind), int(HostReply::Kind::Result));
    EXPECT_EQ(result.result, -1);
    EXPECT_EQ(int(ParseHostReply(true, 0, HostNotCreatedReply()).kind), int(HostReply::Kind::NotCreated));
    EXPECT_EQ(int(ParseHostReply(true, 0, HostRegisteredReply()).kind), int(HostReply::Kind::Registered));
}

// The two example plug-ins built with the program answer through the real helper, side by
// side; a class name that does not match (a renamed file) creates nothing.
TEST(ExamplePlugIns, AnswerTheirNamesThroughTheHelper)
{
    SetPlugInHostProgram(QStringLiteral(ORVANE_PLUGIN_HOST_EXE));
    HostPlugInCalls calls;
    const QString dir = QStringLiteral(ORVANE_EXAMPLE_PLUGINS_DIR);
    const QList<PlugInAnswer> answers = calls.names({{"Posterize.PlugInClass", {}, dir + "/Posterize.dll"},
                                                     {"ChannelSwap.PlugInClass", {}, dir + "/ChannelSwap.dll"},
                                                     {"Renamed.PlugInClass", {}, dir + "/Posterize.dll"},
                                                     {"Missing.PlugInClass", {}, dir + "/Missing.dll"}});
    ASSERT_EQ(answers.size(), 4);
    EXPECT_EQ(answers[0].name, std::optional(QStringLiteral("Posterize...")));
    EXPECT_EQ(answers[1].name, std::optional(QStringLiteral("Channel swap...")));
    for (int i : {2, 3}) {
        EXPECT_TRUE(answers[i].answered);
        EXPECT_EQ(answers[i].name, std::nullopt);
    }
    SetPlugInHostProgram(QString());
}

// Libraries whose getname floods the answer channel or never returns cannot hold up the
// start: their helpers are ended, they get no registration and count as not answering.
TEST(PlugInHostCalls, AFloodingAndAHangingLibraryAreEndedAndLeftOut)
{
    SetPlugInHostProgram(QStringLiteral(ORVANE_PLUGIN_HOST_EXE));
    HostPlugInCalls calls(1000);
    const QString dir = QStringLiteral(ORVANE_TEST_PLUGINS_DIR);
    QList<PlugInRecord> table;
    const PlugInScanResult scan = ScanPlugIns({dir + "/Alpha.dll", dir + "/Flood.dll", dir + "/Hang.dll"}, calls, &table);
    ASSERT_EQ(table.size(), 1);
    EXPECT_EQ(table[0].Name, QStringLiteral("Alpha filter"));
    EXPECT_EQ(scan.unanswered, QStringList({dir + "/Flood.dll", dir + "/Hang.dll"}));
    EXPECT_TRUE(scan.notCreated.isEmpty());
    EXPECT_FALSE(QFile::exists(dir + "/Hang.dll.registered"));
    SetPlugInHostProgram(QString());
}

} // namespace
} // namespace orv
