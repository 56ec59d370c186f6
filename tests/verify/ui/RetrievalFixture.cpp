#include "RetrievalFixture.h"

#include "app/controls/EditBox.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTcpSocket>

#include <algorithm>

namespace orv::test
{

namespace
{

// Longest a single test may keep a request waiting before the watchdog
// abandons it; every run here ends within a few seconds.
constexpr int kWatchdogMs = 20000;

} // namespace

void RetrievalFixture::SetUp()
{
    folder.makeProgramFolder();
    sim = std::make_unique<EngineSim>();
    form = std::make_unique<TForm1>(folder.path());
    form->edMaxSeconds->setText(QStringLiteral("10"));

    watchdog_.setSingleShot(true);
    QObject::connect(&watchdog_, &QTimer::timeout, [this] {
        watchdogFired = true;
        form->Httpcli1.Abort();
    });
    watchdog_.start(kWatchdogMs);
}

void RetrievalFixture::TearDown()
{
    poll_.stop();
    watchdog_.stop();
    EXPECT_FALSE(watchdogFired) << "a request outlasted the watchdog";
    form.reset();
}

void RetrievalFixture::setMaster(const std::vector<std::string>& urls, const std::vector<std::string>& ticked)
{
    for (const auto& url : urls) {
        const bool tick = std::find(ticked.begin(), ticked.end(), url) != ticked.end();
        form->masterUrls.add(makeMasterRecord(url, tick ? '1' : '0'));
        form->masterDescriptions.emplace_back("No Description");
    }
    form->PopulateListBox();
}

void RetrievalFixture::accept(const std::string& primary, const std::string& secondary, const std::string& exclusion)
{
    form->memPrimarySearchCriteria->setPlainText(toQ(primary));
    form->memSecondarySearchCriteria->setPlainText(toQ(secondary));
    form->memExclusionCriteria->setPlainText(toQ(exclusion));
    form->butAcceptClick();
}

int RetrievalFixture::rowOf(const std::string& url) const
{
    for (int row = 0; row < form->ListView1->count(); ++row)
        if (form->ListView1->caption(row) == url)
            return row;
    return -1;
}

std::string RetrievalFixture::status(const std::string& url) const
{
    const int row = rowOf(url);
    return row < 0 ? "<no row>" : form->ListView1->status(row);
}

bool RetrievalFixture::ticked(const std::string& url) const
{
    const int row = rowOf(url);
    return row >= 0 && form->ListView1->checked(row);
}

std::string RetrievalFixture::text(const QLabel* label)
{
    return fromQ(label->text());
}

std::vector<std::string> RetrievalFixture::approvedViewRows() const
{
    std::vector<std::string> rows;
    for (int row = 0; row < form->ListView2->count(); ++row)
        rows.push_back(form->ListView2->caption(row));
    return rows;
}

int RetrievalFixture::requestsFor(const std::string& target) const
{
    const auto requests = sim->requests();
    return static_cast<int>(
        std::count_if(requests.begin(), requests.end(), [&](const SimRequest& r) { return r.target == target; }));
}

void RetrievalFixture::once(std::function<bool()> when, std::function<void()> action)
{
    poll_.stop();
    QObject::disconnect(&poll_, nullptr, nullptr, nullptr);
    poll_.setInterval(5);
    QObject::connect(&poll_, &QTimer::timeout, [this, when = std::move(when), action = std::move(action)] {
        if (!when())
            return;
        poll_.stop();
        action();
    });
    poll_.start();
}

std::string RetrievalFixture::fetch(const std::string& path) const
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(sim->port()));
    if (!socket.waitForConnected(5000))
        return {};
    const std::string request = "GET " + path + " HTTP/1.0\r\nHost: " + sim->host() + "\r\n\r\n";
    socket.write(request.data(), static_cast<qint64>(request.size()));
    QByteArray answer;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000))
        answer += socket.readAll();
    answer += socket.readAll();
    const qsizetype body = answer.indexOf("\r\n\r\n");
    return body < 0 ? std::string() : answer.mid(body + 4).toStdString();
}

} // namespace orv::test
