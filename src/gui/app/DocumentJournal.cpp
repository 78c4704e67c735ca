#include "app/DocumentJournal.h"

#include <QMetaObject>
#include <chrono>

#include "app/CRecoverDlg.h"
#include "app/DocumentManager.h"
#include "app/Ui.h"
#include "editor/CVarnIdeView.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

JournalSchedule::Clock::time_point now() { return JournalSchedule::Clock::now(); }

}  // namespace

DocumentJournal::DocumentJournal(std::string folder, QObject* parent) : QObject(parent), journal_(std::move(folder)) {
    writer_ = std::make_unique<JournalWriter>(journal_, [this](const std::string& message) {
        // The writer reports from its own thread; the window hears it on its own.
        QMetaObject::invokeMethod(
            this, [this, message] { emit stopped(QString::fromStdString(message)); }, Qt::QueuedConnection);
    });
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &DocumentJournal::writeDue);
    pollTimer_.setInterval(1000);
    connect(&pollTimer_, &QTimer::timeout, this, &DocumentJournal::poll);
    chooser_ = [](const std::vector<JournalEntry>& entries) {
        CRecoverDlg dlg(entries);
        switch (dlg.exec()) {
            case CRecoverDlg::Recover:
                return Choice::Recover;
            case CRecoverDlg::Discard:
                return Choice::Discard;
            default:
                return Choice::Later;
        }
    };
}

DocumentJournal::~DocumentJournal() {
    // Documents still open when the journal goes keep their entries only if
    // the IDE dies first: an orderly end removes them with their windows.
    for (auto& [owner, w] : watched_) disconnect(owner, nullptr, this, nullptr);
}

std::string DocumentJournal::keyOf(const Watched& w) const {
    const std::string path = w.source.path();
    return path.empty() ? w.untitledKey : journal_.keyFor(path);
}

void DocumentJournal::watch(QObject* owner, Source source) {
    Watched w{std::move(source), journal_.keyFor("", ++untitled_), {}, {}};
    watched_[owner] = std::move(w);
    connect(owner, &QObject::destroyed, this, [this, owner] {
        auto it = watched_.find(owner);
        if (it == watched_.end()) return;
        drop(it->second);
        watched_.erase(it);
        reschedule();
    });
    if (watched_[owner].source.modified()) changed(owner);
}

void DocumentJournal::watch(CVarnIdeView& view) {
    CVarnIdeView* v = &view;
    Source s;
    s.kind = JournalKind::Source;
    s.path = [v] { return v->doc().untitled ? std::string() : v->path(); };
    s.title = [v] { return paths::fileName(v->path()); };
    s.modified = [v] { return v->modified(); };
    s.bytes = [v] { return v->bytes(); };
    watch(v, std::move(s));
    connect(v, &QsciScintilla::textChanged, this, [this, v] { changed(v); });
    connect(v, &QsciScintilla::modificationChanged, this, [this, v](bool modified) {
        if (!modified) saved(v);
    });
}

void DocumentJournal::watchPolled(QObject* owner, Source source) {
    watch(owner, std::move(source));
    watched_[owner].polled = true;
    pollTimer_.start();
}

void DocumentJournal::poll() {
    std::vector<QObject*> changedOwners, savedOwners;
    for (auto& [owner, w] : watched_) {
        if (!w.polled) continue;
        if (!w.source.modified()) {
            if (!w.writtenKey.empty() || !w.key.empty()) savedOwners.push_back(owner);
            w.polledSum = 0;
            continue;
        }
        const std::uint64_t sum =
            RecoveryJournal::checksum(w.source.fingerprint ? w.source.fingerprint() : w.source.bytes());
        if (sum == w.polledSum) continue;
        w.polledSum = sum;
        changedOwners.push_back(owner);
    }
    for (QObject* o : savedOwners) saved(o);
    for (QObject* o : changedOwners) changed(o);
}

void DocumentJournal::changed(QObject* owner) {
    auto it = watched_.find(owner);
    if (it == watched_.end() || !it->second.source.modified()) return;
    Watched& w = it->second;
    const std::string key = keyOf(w);
    if (!w.key.empty() && w.key != key) schedule_.forget(w.key);
    w.key = key;
    schedule_.changed(key, now());
    reschedule();
}

void DocumentJournal::saved(QObject* owner) {
    auto it = watched_.find(owner);
    if (it == watched_.end()) return;
    drop(it->second);
    reschedule();
}

// Uses only the keys kept: a document being destroyed can no longer be asked.
void DocumentJournal::drop(Watched& w) {
    if (!w.key.empty()) schedule_.forget(w.key);
    w.key.clear();
    if (!w.writtenKey.empty()) {
        schedule_.forget(w.writtenKey);
        writer_->remove(w.writtenKey);
        w.writtenKey.clear();
    }
}

void DocumentJournal::reschedule() {
    const auto next = schedule_.nextDue();
    if (!next) {
        timer_.stop();
        return;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(*next - now());
    timer_.start(std::max<int>(0, static_cast<int>(wait.count())));
}

void DocumentJournal::submit(Watched& w) {
    // A save under another name leaves the old entry to go.
    if (!w.writtenKey.empty() && w.writtenKey != w.key) writer_->remove(w.writtenKey);
    w.writtenKey = w.key;
    // Only the copy of the bytes is made here; the writing is the worker's.
    writer_->submit({w.key, w.source.kind, w.source.path(), w.source.title(), w.source.bytes()});
}

void DocumentJournal::writeDue() {
    const auto at = now();
    for (const std::string& key : schedule_.due(at)) {
        schedule_.written(key, at);
        for (auto& [owner, w] : watched_) {
            if (w.key != key) continue;
            if (w.source.modified())
                submit(w);
            else
                drop(w);
            break;
        }
    }
    reschedule();
}

void DocumentJournal::flush() {
    timer_.stop();
    const auto at = now();
    for (auto& [owner, w] : watched_) {
        if (!w.source.modified()) continue;
        w.key = keyOf(w);
        schedule_.written(w.key, at);
        submit(w);
    }
    writer_->flush();
}

bool DocumentJournal::recoverSource(DocumentManager& documents, const JournalEntry& entry, const std::string& bytes) {
    const std::string& path = entry.info.originalPath;
    CVarnIdeView* v = nullptr;
    if (!path.empty() && fsys::exists(path) && documents.open(path, false)) v = documents.view(path);
    if (!v) v = documents.newDocument(documentTemplateOfFile(path.empty() ? entry.info.title : path));
    if (!v) return false;
    v->replaceAllBytes(bytes);
    changed(v);
    return true;
}

void DocumentJournal::offerRecovery(DocumentManager& documents, Ui& ui) {
    setRecoverer(JournalKind::Source, [this, &documents](const JournalEntry& e, const std::string& bytes) {
        return recoverSource(documents, e, bytes);
    });
    offerRecovery(ui);
}

void DocumentJournal::offerRecovery(Ui& ui) {
    const std::vector<JournalEntry> entries = leftBehind();
    if (entries.empty()) return;
    const Choice choice = chooser_(entries);
    if (choice == Choice::Later) return;
    for (const JournalEntry& e : entries) {
        if (choice == Choice::Discard || e.damaged) {
            if (choice == Choice::Discard) journal_.discard(e);
            continue;
        }
        // A kind without an editor here waits for a later start.
        auto recoverer = recoverers_.find(e.info.kind);
        if (recoverer == recoverers_.end()) continue;
        if (e.originalChanged && !ui.askYesNo(e.name() + " changed on disk after its unsaved copy was kept.\n"
                                                         "Recover the unsaved copy anyway?"))
            continue;
        auto bytes = journal_.read(e);
        if (!bytes) {
            ui.error(bytes.error().message);
            continue;
        }
        if (recoverer->second(e, *bytes)) journal_.discard(e);
    }
}

}  // namespace varn
