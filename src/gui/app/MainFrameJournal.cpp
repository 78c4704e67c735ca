// How the main frame's documents reach the recovery journal: what each kind
// of window gives as its bytes and how a recovered copy goes back into it.
#include <QPointer>
#include <QStatusBar>

#include "app/CMainFrame.h"
#include "app/DocumentJournal.h"
#include "app/DocumentManager.h"
#include "form/CVARNfbFrm.h"
#include "form/CVARNfbView.h"
#include "form/FormCommands.h"
#include "form/FormFileWriter.h"
#include "image/CVARNImgFrame.h"
#include "image/ImageCommands.h"
#include "platform/Paths.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

void DocumentJournal::followMainFrame(CMainFrame& frame, Ui& ui) {
    VARNWorkspaceManager& workspace = frame.workspace();
    DocumentManager& documents = frame.documentManager();
    FormCommands& forms = frame.formCommands();
    QPointer<DocumentJournal> self(this);

    for (CVarnIdeView* v : documents.views()) watch(*v);
    // The project's settings and lists, as its save would write them.
    Source project;
    project.kind = JournalKind::Project;
    project.path = [&workspace] {
        return workspace.project().workspaceOpen ? workspace.project().projectPath : std::string();
    };
    project.title = [&workspace] { return paths::fileName(workspace.project().projectPath); };
    project.modified = [&workspace] { return workspace.project().workspaceOpen && workspace.project().modified; };
    project.bytes = [&workspace] { return workspace.workspaceBytes(); };
    // Looked at every second: made in memory, the file is read only when a copy is written.
    project.fingerprint = [&workspace] { return workspace.settingsText(); };
    watchPolled(&frame, std::move(project));

    // Forms: as their save writes them; the time in the file does not count as a change.
    forms.setViewOpened([self, &forms](CVARNfbView& v, CVARNfbFrm& f) {
        if (!self) return;
        CVARNfbView* view = &v;
        CVARNfbFrm* window = &f;
        Source form;
        form.kind = JournalKind::Form;
        form.path = [&forms, window] { return forms.isUntitled(window->path()) ? std::string() : window->path(); };
        form.title = [window] { return paths::fileName(window->path()); };
        form.modified = [view] { return view->designer().modified(); };
        form.bytes = [view, window] { return view->doc().formText(paths::fileName(window->path())); };
        form.fingerprint = [view] { return writeFormFile(view->doc(), {}, 0); };
        self->watchPolled(view, std::move(form));
        QObject::connect(view, &CVARNfbView::changed, self, [self, view] { self->changed(view); });
    });
    setRecoverer(JournalKind::Form, [&forms](const JournalEntry& e, const std::string& bytes) {
        return forms.openRecovered(e.info.originalPath, bytes) != nullptr;
    });

    // Images: every type of the file, the drawing in progress included.
    frame.imageCommands().setFrameOpened([self](CVARNImgFrame& f) {
        if (!self) return;
        CVARNImgFrame* window = &f;
        Source image;
        image.kind = JournalKind::Image;
        image.path = [window] { return window->panePath(); };
        image.title = [window] { return paths::fileName(window->panePath()); };
        image.modified = [window] { return window->paneModified(); };
        image.bytes = [window] { return window->document().fileBytes(); };
        self->watchPolled(window, std::move(image));
    });
    setRecoverer(JournalKind::Image, [&documents, &ui](const JournalEntry& e, const std::string& bytes) {
        const std::string& path = e.info.originalPath;
        if (path.empty() || documents.isModified(path) || !documents.open(path, false)) return false;
        auto* window = dynamic_cast<CVARNImgFrame*>(documents.pane(path));
        if (!window || !window->document().takeRecovered(bytes, ui)) return false;
        window->documentChanged();
        return true;
    });

    // A project's copy comes back only into that project: one that is not open
    // now waits for a start that opens it.
    setRecoverer(JournalKind::Project, [&workspace](const JournalEntry& e, const std::string& bytes) {
        const ProjectModel& model = workspace.project();
        if (!model.workspaceOpen || !paths::equalNoCase(model.projectPath, e.info.originalPath)) return false;
        return workspace.restoreSettings(bytes);
    });

    // One warning in the status bar, never a box per keystroke.
    connect(this, &DocumentJournal::stopped, &frame, [&frame](const QString& reason) {
        frame.statusBar()->showMessage(CMainFrame::tr("Unsaved work is no longer kept for recovery: %1").arg(reason));
    });
}

}  // namespace varn
