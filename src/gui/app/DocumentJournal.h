// Keeps the recovery journal of the open documents: each watched document
// that is modified is copied into the journal shortly after it changes, and
// its entry goes when it is saved or closed. Also offers, on start, the work
// that IDEs which ended without saving left behind.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/JournalWriter.h"
#include "app/RecoveryJournal.h"

namespace varn {

class CMainFrame;
class CVarnIdeView;
class DocumentManager;
class Ui;

class DocumentJournal : public QObject {
    Q_OBJECT
public:
    // What the journal asks of a document: its kind, its file (or the name of
    // an untitled one), whether it is modified, and its bytes as a save writes them.
    struct Source {
        JournalKind kind = JournalKind::Source;
        std::function<std::string()> path;  // empty while untitled
        std::function<std::string()> title;
        std::function<bool()> modified;
        std::function<std::string()> bytes;
        // For a looked-at document: what tells a change (default: the bytes),
        // for documents whose bytes also carry the time they were made.
        std::function<std::string()> fingerprint;
    };
    enum class Choice { Recover, Discard, Later };
    using Chooser = std::function<Choice(const std::vector<JournalEntry>&)>;

    explicit DocumentJournal(std::string folder, QObject* parent = nullptr);
    ~DocumentJournal() override;

    // Follows a document until `owner` is destroyed; the owner calls
    // changed() after each edit and saved() after each save.
    void watch(QObject* owner, Source source);
    void changed(QObject* owner);
    void saved(QObject* owner);
    // A source view: its edits, saves and closing are followed by themselves.
    void watch(CVarnIdeView& view);
    // A document that tells of no change (the project's settings): it is
    // looked at every second and journalled when its bytes changed.
    void watchPolled(QObject* owner, Source source);

    // Opens a recovered copy of one kind in its editor, modified; false when
    // it could not. Sources have theirs; other kinds are kept until one is set.
    using Recoverer = std::function<bool(const JournalEntry& entry, const std::string& bytes)>;
    void setRecoverer(JournalKind kind, Recoverer r) { recoverers_[kind] = std::move(r); }

    // Writes every due copy now and waits for the writer (tests, orderly exit).
    void flush();

    // Entries left behind by IDEs that have ended, oldest first.
    std::vector<JournalEntry> leftBehind() const { return journal_.orphaned(); }
    // Offers them: the chooser (a dialog by default) decides; Recover opens
    // each whole entry in its editor, modified, asking first when its file
    // changed on disk since; damaged entries can only be discarded.
    void offerRecovery(DocumentManager& documents, Ui& ui);
    // The same without a source editor at hand (the kinds with their own recoverer).
    void offerRecovery(Ui& ui);
    void setChooser(Chooser c) { chooser_ = std::move(c); }

    RecoveryJournal& journal() { return journal_; }

    // Follows every document of the main frame (sources, forms, images and
    // the project's settings), recovers each kind into its editor, and shows
    // a stop of journalling in the frame's status bar.
    void followMainFrame(CMainFrame& frame, Ui& ui);

signals:
    // Journalling stopped (a full disk, a folder that cannot be written).
    void stopped(const QString& message);

private:
    struct Watched {
        Source source;
        std::string untitledKey;
        std::string key;         // its key at its last change (kept for when it is gone)
        std::string writtenKey;  // the entry last written for it
        bool polled = false;
        std::uint64_t polledSum = 0;  // the bytes' checksum at the last look
    };
    std::string keyOf(const Watched& w) const;
    void writeDue();
    void submit(Watched& w);
    void reschedule();
    void drop(Watched& w);
    void poll();
    bool recoverSource(DocumentManager& documents, const JournalEntry& entry, const std::string& bytes);

    RecoveryJournal journal_;
    std::unique_ptr<JournalWriter> writer_;
    JournalSchedule schedule_;
    std::map<QObject*, Watched> watched_;
    QTimer timer_;
    QTimer pollTimer_;
    std::map<JournalKind, Recoverer> recoverers_;
    int untitled_ = 0;
    Chooser chooser_;
};

}  // namespace varn
