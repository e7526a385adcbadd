#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The window elements the controller reads and writes, named as the controller knows them.
enum class TextOutlet {
    artist, album, publicationYear, genre, tracks, label, discs,
    keywords, renaming, preview, trackTitle, trackArtist, status
};
enum class TableOutlet { resultTableView, trackListView, fileListView };

// The few window operations the controller needs, so that its logic holds no widget.
// The main window implements it over its real widgets.
class WindowSurface {
public:
    virtual ~WindowSurface() = default;

    virtual QString stringValue(TextOutlet field) const = 0;
    virtual void setStringValue(TextOutlet field, const QString &text) = 0;

    // The cover image view: the picture shown, or none.
    virtual std::optional<QImage> image() const = 0;
    virtual void setImage(const std::optional<QImage> &image) = 0;

    // The tag of the chosen storefront button; -1 when none is chosen.
    virtual int selectedTag() const = 0;

    // Table view operations, in the rows of the session's lists whatever order a table is
    // sorted in; the data itself comes from the controller's models.
    virtual void selectRow(TableOutlet table, int row) = 0;
    // The row selected last, or -1.
    virtual int selectedRow(TableOutlet table) const = 0;
    // Every selected row, ascending.
    virtual QList<int> selectedRows(TableOutlet table) const = 0;
    // The row shown at the top of the table, or -1 for an empty one.
    virtual int topRow(TableOutlet table) const = 0;
    // The text an empty table shows in place of rows; none when empty.
    virtual void setPlaceholder(TableOutlet table, const QString &text) = 0;

    // While a job runs: its progress and a Cancel button in the status area, a busy cursor
    // over the tables, and the controls that would start another job or change the lists
    // disabled.
    virtual void showJobRunning(bool running) = 0;
    // The running job's progress, done of total; a total of 0 is shown as indeterminate.
    virtual void showJobProgress(qint64 done, qint64 total) = 0;

    // Redraws the status line at once, so that each line of a job is seen.
    virtual void displayStatusView() = 0;

    // Tells the user which files a command could not change, and why ("path: reason" lines).
    virtual void reportFileFailures(const QString &command, const QStringList &failures) = 0;

    // Asks the user a question; runs `confirmed` once the user answers with `action`,
    // and nothing otherwise. Returns at once, before the answer.
    virtual void askToConfirm(const QString &question, const QString &action, std::function<void()> confirmed) = 0;

    // The table that takes key events, if a table has the focus.
    virtual std::optional<TableOutlet> firstResponderTable() const = 0;
};
