// "Find in Files": the dialog that asks for the search text and options
// (with the shared search history of the settings store), and the two ways the
// window runs core's project search into a find pane of the output bar — the
// user's search and "Find All Functions".
#pragma once

#include <QDialog>

#include <string>
#include <string_view>

#include "editor/FindHistory.h"
#include "editor/FindInFiles.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace varn {

class COutputControlBar;
class COutputPane;
class OpenDocuments;
class ProjectTree;
class SettingsStore;
class Ui;

// A find pane of the output bar as the project search writes to it. The
// entries are collected and shown file by file (each time the search asks
// for the end to be shown), and at the latest when this goes away.
class COutputFindPane : public FindPane {
public:
    explicit COutputFindPane(COutputPane& pane);
    ~COutputFindPane() override;
    COutputFindPane(const COutputFindPane&) = delete;
    COutputFindPane& operator=(const COutputFindPane&) = delete;

    void append(std::string_view text) override;
    // Counted as the search writes it, a line end as two characters.
    std::size_t length() const override { return length_; }
    void scrollToEnd() override;

private:
    void flush();

    COutputPane& pane_;
    std::string pending_;
    std::size_t length_ = 0;
};

class CFindInFiles : public QDialog {
    Q_OBJECT
public:
    // "Fi&nd All Functions"
    static constexpr int ID_FIND_ALL_FUNCTIONS = 32914;

    explicit CFindInFiles(SettingsStore& store, QWidget* parent = nullptr);

    // Shows the dialog; on "Find" searches the project's files into the
    // chosen pane. False when the dialog was cancelled.
    static bool run(QWidget* parent, SettingsStore& store, COutputControlBar& output, const ProjectTree& tree,
                    Ui& ui, const OpenDocuments* documents = nullptr);

    // The window's part of a search: clears the pane, shows the bar with that
    // pane in front, and lists the matches of the project's files into it.
    static FindSummary searchProject(COutputControlBar& output, int paneIndex, const FindOptions& options,
                                     const ProjectTree& tree, Ui& ui, const OpenDocuments* documents = nullptr);
    // "Find All Functions": every function declaration line into pane 1.
    static FindSummary findAllFunctions(COutputControlBar& output, const ProjectTree& tree, Ui& ui,
                                        const OpenDocuments* documents = nullptr);

    // What the dialog holds now.
    FindOptions options() const;
    // The output pane chosen: COutputControlBar::FindPane1 or FindPane2.
    int paneIndex() const;
    const FindHistory& history() const { return history_; }

    QComboBox* findWhatBox() const { return findWhat_; }
    QCheckBox* matchCaseBox() const { return matchCase_; }
    QCheckBox* regularExpressionBox() const { return regex_; }
    QCheckBox* pane2Box() const { return pane2_; }
    QPushButton* findButton() const { return find_; }

public slots:
    // "Find": stores the options and the history, then closes.
    void accept() override;

private:
    SettingsStore& store_;
    FindHistory history_;

    QComboBox* findWhat_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* regex_ = nullptr;
    QCheckBox* pane2_ = nullptr;
    QPushButton* find_ = nullptr;
};

}  // namespace varn
