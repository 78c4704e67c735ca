// The tip of the day: a modeless window showing one tip of "VARNide.tip" in
// the installation folder (one tip a line), with "Next Tip" and a check box
// for showing tips at start-up. It starts at the stored "CurrentTip"; the
// index it hands back for the next start is the one after the tip shown.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace varn {

// The tips and which one is shown: pure state, no window.
class TipList {
public:
    static constexpr const char* kFileName = "VARNide.tip";

    // Reads the tips file: one tip a line; blank lines and lines starting
    // with ";" are skipped. A missing or unreadable file gives no tips.
    static TipList load(const std::string& path);
    static TipList fromLines(const std::vector<std::string>& lines);

    bool empty() const { return tips_.empty(); }
    std::size_t size() const { return tips_.size(); }
    const std::vector<std::string>& tips() const { return tips_; }

    // Starts at the stored index (wrapped into the list; a negative one starts at the first).
    void start(int storedIndex);
    void next();
    // The tip shown and its index; "" and the stored index when there are none.
    std::string current() const;
    int currentIndex() const { return index_; }
    // The index stored for the next start: the tip after the one shown.
    int nextStartIndex() const;

private:
    std::vector<std::string> tips_;
    int index_ = 0;
};

class VARNTipOfDay : public QDialog {
    Q_OBJECT
public:
    // `installPath` holds the tips file and the help file.
    VARNTipOfDay(const std::string& installPath, int currentTip, bool showAtStartup, QWidget* parent = nullptr);

    const TipList& tips() const { return tips_; }
    // What is written back as "CurrentTip" and "ShowAtStartup".
    int currentTip() const { return tips_.nextStartIndex(); }
    bool showAtStartup() const;
    void setShowAtStartup(bool on);
    QString tipText() const;

public slots:
    void nextTip();

private:
    void showTip();

    std::string installPath_;
    TipList tips_;
    QLabel* text_ = nullptr;
    QCheckBox* showAtStartup_ = nullptr;
    QPushButton* next_ = nullptr;
};

}  // namespace varn
