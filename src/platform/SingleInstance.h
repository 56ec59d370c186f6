#pragma once
// The single-instance guard (UDetectCopy). The first start of the program
// holds a lock file named after the instance name in the user's runtime
// folder and listens on a local socket of the same name. A later start
// finds the lock taken, sends the first one a message through the socket
// and reports that it is not the first, so that it ends without a window.
// The first start announces every such message with `anotherStart`; the
// window layer then restores and raises the main window.
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace orv
{

// The instance name of Orvalen: the same in every copy of the program.
inline constexpr const char* kInstanceName = "orvalen-instance";

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // Runs the guard. `folder` holds the lock and the socket; empty means
    // the runtime folder (XDG_RUNTIME_DIR, else the temp folder).
    explicit SingleInstance(const QString& instanceName, const QString& folder = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True for the first start. A lock that cannot be taken for another
    // reason than a running first start (no permission, no folder) counts
    // as a first start too, so the program still runs.
    bool isFirst() const { return first_; }

    // For a later start: whether the message reached the first start.
    bool messageDelivered() const { return delivered_; }

signals:
    // A later start asked this one to come to the front.
    void anotherStart();

private:
    void listen();
    bool sendToFirst();

    QString lockPath_;
    QString serverPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    bool first_ = true;
    bool delivered_ = false;
};

} // namespace orv
