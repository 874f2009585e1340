#pragma once
// The guide's window: the chapters on the left, the page in a text browser with back, forward and
// contents. It reads the guide's HTML from the program folder, so it needs no web browser. One
// window serves the whole program; it is owned by the window it was opened over, so that a modal
// dialog (the wizard, the options) does not block it.

#include <QPointer>
#include <QString>
#include <QWidget>

class QListWidget;
class QTextBrowser;
class QToolButton;
class QUrl;

namespace vorpane {

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    // The guide's folder: "guide" in the program folder.
    static QString guideFolder();
    // Shows the guide over `owner` (the main window, or the modal dialog that has the input) at
    // `page` (a file of the guide, the contents when empty), and returns its window.
    static HelpWindow* showGuide(QWidget* owner, const QString& page = QString());
    // The open guide window, if any.
    static HelpWindow* current();

    explicit HelpWindow(QWidget* parent = nullptr);
    // Makes `owner` the window's owner, keeping its place and whether it shows.
    void moveTo(QWidget* owner);
    ~HelpWindow() override;

    void openPage(const QString& page);
    QUrl currentPage() const;

private:
    void fillChapters();
    void selectChapterOf(const QUrl& url);

    QListWidget* m_chapters;
    QTextBrowser* m_browser;
    QToolButton* m_back;
    QToolButton* m_forward;
};

} // namespace vorpane
