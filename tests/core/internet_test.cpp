#include "internet/image_references.h"
#include "internet/version_check.h"
#include "platform/http_client.h"
#include "tests/support/http_test_server.h"
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace orv {

namespace {

TEST(PictureReferences, FoundBackToTheQuoteOrEqualsSignCaseSensitively)
{
    struct Case { const char* line; QStringList expected; };
    const Case cases[] = {
        {R"(<img src="pics/a.gif" alt=b.gif>)", {"pics/a.gif", "b.gif"}},
        {R"(<img src="A.GIF">)", {}},
        {R"(<img src="photo.jpeg">)", {"photo.jpeg"}},
        // Nothing stops the walk but a quote or an equals sign: the start of the line does.
        {R"(see x.jpg there)", {"see x.jpg"}},
        // Each line's GIFs come before its JPEGs, whatever their order in the line.
        {R"(<img src="1.jpg"><img src="2.gif">)", {"2.gif", "1.jpg"}},
    };
    const std::atomic<bool> cancel{false};
    for (const Case& c : cases)
        EXPECT_EQ(PictureReferences(c.line, cancel).references, c.expected) << c.line;
    EXPECT_EQ(PictureReferences("<a href=\"x.gif\">\r\n<b src=y.jpg>", cancel).references, (QStringList{"x.gif", "y.jpg"}));
}

TEST(PictureReferences, AtMostTenThousandAreListedAndMoreAreFlagged)
{
    const std::atomic<bool> cancel{false};
    struct Case { QByteArray page; qsizetype listed; bool more; };
    const Case cases[] = {
        {QByteArray("=a.gif").repeated(10000), 10000, false},
        {QByteArray("=a.gif").repeated(100000), 10000, true},
        {QByteArray(".gif").repeated(1000000), 10000, true},
        {QByteArray(10000000, '\n') + "=b.jpg", 1, false},
        {QByteArray(3000, 'a') + ".gif=b.jpg", 1, false},   // the first is too long for an address
    };
    for (const Case& c : cases) {
        const PictureReferenceList found = PictureReferences(c.page, cancel);
        EXPECT_EQ(found.references.size(), c.listed) << c.page.size();
        EXPECT_EQ(found.more, c.more) << c.page.size();
        EXPECT_EQ(found.references.last(), found.references.first()) << c.page.size();
    }
}

TEST(PictureReferences, ResolvedAsABrowserDoes)
{
    const char* cases[][3] = {
        {"http://h/dir/", "a.gif", "http://h/dir/a.gif"},          {"http://h/page.html", "a.gif", "http://h/a.gif"},
        {"http://h/x/", "/img/b.jpg", "http://h/img/b.jpg"},       {"http://h/a/b/", "../up.gif", "http://h/a/up.gif"},
        {"http://h/x/", "https://other/c.gif", "https://other/c.gif"}, {"https://h/x/", "//cdn/d.gif", "https://cdn/d.gif"},
    };
    for (auto [page, reference, expected] : cases)
        EXPECT_EQ(ResolveReference(QString::fromUtf8(page), QString::fromUtf8(reference)), QString::fromUtf8(expected)) << reference;
}

TEST(PictureReferences, TypedAddressesAreWebAddressesOrRefused)
{
    const std::pair<const char*, const char*> cases[] = {   // "" = refused
        {"  https://h/p  ", "https://h/p"}, {"h.org/a.gif", "http://h.org/a.gif"}, {"localhost:8080", "http://localhost:8080"},
        {"ftp://h/a.gif", ""}, {"file:///etc/passwd", ""}, {"javascript:alert(1)", ""}, {"http://", ""},
    };
    for (auto [typed, expected] : cases) {
        QString error;
        EXPECT_EQ(WebAddress(QString::fromUtf8(typed), &error), QString::fromUtf8(expected)) << typed;
        EXPECT_EQ(error.isEmpty(), *expected != 0) << typed;
    }
    for (auto [address, picture] : {std::pair{"http://h/a.JPEG", true}, {"http://h/a.Gif", true}, {"http://h/a.png", false}, {"http://h/jpg", false}})
        EXPECT_EQ(IsPictureAddress(QString::fromLatin1(address)), picture) << address;
}

TEST(VersionCheck, PartsCompareAsNumbersAfterTrimming)
{
    const auto N = VersionOrder::Newer, O = VersionOrder::NotNewer, X = VersionOrder::NotAVersion;
    const std::pair<const char*, VersionOrder> cases[] = {
        {"0.44", N},   {"0.43\r\n", O}, {"0.100", N}, {"0.5", O},   {"0.43.1", N},
        {"0.43.0", O}, {"<html>404</html>", X},     {"0.-1", X}, {"0..44", X},
        // 65 characters after trimming are too long for a version, whatever they hold.
        {"  0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.1\n", X},
    };
    for (auto [latest, order] : cases) EXPECT_EQ(CompareVersions(QString::fromUtf8(latest), QStringLiteral("0.43")), order) << latest;
}

class HttpTransfer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.running()); }
    HttpResult get(const QString& path, const HttpLimits& limits = {})
    {
        states.clear();
        return HttpGet(server.address(path), [this](TransferState s) { states.push_back(s); }, cancel, limits);
    }
    test::HttpTestServer server;
    std::atomic<bool> cancel{false};
    std::vector<TransferState> states;
};

TEST_F(HttpTransfer, FetchesTheBodyThroughEveryStateInOrder)
{
    QByteArray bytes(300000, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7 + i / 251);
    server.put(QStringLiteral("a.gif"), bytes);
    const HttpResult r = get(QStringLiteral("/files/a.gif"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.body, bytes);
    std::vector<TransferState> expected;
    for (int s = 1; s <= 10; ++s) expected.push_back(TransferState(s));
    expected.push_back(TransferState::Completed);
    EXPECT_EQ(states, expected);

    server.put(QStringLiteral("redirected.txt"), "arrived");
    EXPECT_EQ(get(QStringLiteral("/redirect/3")).body, "arrived");
}

TEST_F(HttpTransfer, EveryFailureEndsInAClearMessage)
{
    HttpLimits quick;
    quick.stallSeconds = 1;
    quick.maxBodyBytes = 64 << 10;
    struct Case { const char* path; HttpLimits limits; const char* says; };
    const Case cases[] = {
        {"/status/404", {}, "the server answered with error 404"}, {"/status/400", {}, "the server answered with error 400"},
        {"/stall", quick, "stopped answering"},                   {"/huge", {}, "larger than 100 MB"},
        {"/huge-unsized", quick, "larger than 64 KB"},            {"/redirect/9", {}, "redirects more than 5 times"},
        {"/cut", {}, "closed the connection before the transfer ended"},
        {"/http09", {}, "the server's answer is not HTTP: it has no status line"},
        {"/long-header", {}, "the server sent a header line longer than 100 KB"},
        {"/header-flood", {}, "the server's headers are larger than 64 KB"},
    };
    for (const Case& c : cases) {
        const HttpResult r = get(QString::fromLatin1(c.path), c.limits);
        EXPECT_FALSE(r.ok()) << c.path;
        EXPECT_TRUE(r.body.isEmpty()) << c.path;
        EXPECT_TRUE(r.error.startsWith(QStringLiteral("Cannot fetch \"%1\": ").arg(server.address(QString::fromLatin1(c.path)))))
            << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(QString::fromLatin1(c.says))) << r.error.toStdString();
        ASSERT_FALSE(states.empty());
        EXPECT_EQ(states.back(), TransferState::Error) << c.path;
    }
}

TEST_F(HttpTransfer, OtherSchemesAndDeadServersAreRefused)
{
    const HttpResult ftp = HttpGet(QStringLiteral("ftp://127.0.0.1/a.gif"), {}, cancel);
    EXPECT_TRUE(ftp.error.contains(QStringLiteral("only http:// and https://")));
    // Port 1 on the loopback has nobody listening.
    const HttpResult dead = HttpGet(QStringLiteral("http://127.0.0.1:1/a.gif"), {}, cancel);
    EXPECT_TRUE(dead.error.contains(QStringLiteral("does not accept connections"))) << dead.error.toStdString();
    // A secure fetch from a server that speaks plain HTTP: the words first, the library's detail after.
    const HttpResult plain = HttpGet(server.address(QStringLiteral("/files/a.gif")).replace("http:", "https:"), {}, cancel);
    EXPECT_TRUE(plain.error.contains(QRegularExpression(QStringLiteral("the server's secure connection failed: \\S+"))))
        << plain.error.toStdString();
}

TEST_F(HttpTransfer, CancelStopsAStalledTransfer)
{
    const HttpResult r = HttpGet(
        server.address(QStringLiteral("/stall")), [this](TransferState s) { if (s == TransferState::Receiving) cancel = true; }, cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.ok());
}

} // namespace

} // namespace orv
