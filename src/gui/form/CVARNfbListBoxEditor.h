// The in-place list editor of the designer's list dialogs: a list of lines
// the user adds to, edits where they stand, deletes and reorders, with
// buttons and keys (Insert adds, Delete deletes, F2 or Enter edits,
// Ctrl+Up and Ctrl+Down move the current line).
#pragma once

#include <QStringList>
#include <QWidget>

class QListWidget;
class QPushButton;

namespace varn {

class CVARNfbListBoxEditor : public QWidget {
    Q_OBJECT
public:
    explicit CVARNfbListBoxEditor(QWidget* parent = nullptr);

    void setLines(const QStringList& lines);
    QStringList lines() const;
    QListWidget* list() const { return list_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }

    // The operations of the buttons and keys, on the current line.
    void addLine();
    void deleteCurrent();
    void moveCurrent(int by);
    void editCurrent();

signals:
    void lineAdded(int row);
    void lineDeleted(int row);
    void lineMoved(int from, int to);
    void lineEdited(int row, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateButtons();

    QListWidget* list_;
    QPushButton* add_;
    QPushButton* delete_;
    QPushButton* up_;
    QPushButton* down_;
    bool filling_ = false;
};

}  // namespace varn
