// One IDE per user: the running IDE listens on a local socket named after the
// program's registry name; a second start asks it to come to the front
// (restored when minimised) and then ends.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace varn {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kActivate = "activate";
    static constexpr const char* kActivated = "activated";
    // "open <path>" before "activate": the running IDE opens the file too.
    static constexpr const char* kOpen = "open ";
    static constexpr int kTimeoutMs = 2000;

    // The socket name of this user's IDE: "VARNide43" and the user's id.
    static QString defaultServerName();

    explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    const QString& serverName() const { return name_; }

    // Asks a running IDE to activate itself, opening `file` when one is
    // given; true when one answered.
    bool activateOther(const QString& file = QString()) const;
    // Some IDE accepts connections under the name (without asking it anything).
    bool answering() const;
    // Starts answering other starts; `activate` brings this IDE to the front.
    // False when another IDE already answers under the name.
    // `open` opens a file that a later start handed over.
    bool listen(std::function<void()> activate, std::function<void(const QString&)> open = {});
    bool listening() const;

private:
    void answer();

    QString name_;
    QLocalServer* server_ = nullptr;
    std::function<void()> activate_;
    std::function<void(const QString&)> open_;
};

// Brings a top-level window to the front: shown, restored from minimised,
// raised and activated; a modal dialog open over it comes to the top as well.
void bringToFront(QWidget& window);

}  // namespace varn
