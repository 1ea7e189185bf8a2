#pragma once

#include <QWidget>

class MemberTable;
class QListWidget;
struct Platform;

// "Display Database": every member in a plain list, in slot order or sorted
// by call. A window of its own beside the main window, never modal; it goes
// away when closed.
class frmSort : public QWidget {
    Q_OBJECT
public:
    frmSort(Platform& platform, const MemberTable& table, QWidget* parent = nullptr);
    ~frmSort() override;

    // What the menu item does: asks whether to sort, fills the lists afresh
    // (each use shows every member once) and shows the window. Cancel does
    // nothing; returns false then.
    bool displayDatabase();

    // The menu item from the main window: the window that is open, else a new
    // one (deleted again when the question is cancelled). Returns the shown
    // window, or null.
    static frmSort* DisplayDatabase(Platform& platform, const MemberTable& table, QWidget* parent);

    // The sorting stage (kept in sorted order) and the list the user reads,
    // which lies over it.
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;

private:
    Platform& platform_;
    const MemberTable& table_;
};
