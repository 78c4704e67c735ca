// The child frame of a form document: the document window in the main
// frame's area that holds the designer view, knows the form file's path and
// shows its title (" (read-only)", "*" while modified).
#pragma once

#include <QMdiSubWindow>
#include <string>

namespace varn {

class CVARNfbView;

class CVARNfbFrm : public QMdiSubWindow {
    Q_OBJECT
public:
    CVARNfbFrm(CVARNfbView* view, const std::string& path);

    CVARNfbView& view() const { return *view_; }
    const std::string& path() const { return path_; }
    void setPath(const std::string& path);
    // The file name, " (read-only)" for a read-only file and "*" while modified.
    void updateTitle();

private:
    CVARNfbView* view_;
    std::string path_;
};

}  // namespace varn
