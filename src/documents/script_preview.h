#pragma once
// The live preview beside a sheet or handout script: the page that the text being edited draws
// for a document the author picks (an open investigator or handout, or one of the examples of the
// program folder), drawn again a moment after the last change. A draft that fails keeps the last
// good page with the error over it; a click on a drawn item tells which script line drew it.

#include "sheet/sheet_layout.h"
#include "sheet/sheet_script_draft.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QTemporaryDir;

namespace vorpane {

class Desk;
class InvestigatorDocumentModel;
class HandoutSheetModel;
class SheetHost;
class PreviewPage;

class ScriptPreview final : public QWidget {
    Q_OBJECT
public:
    // The pause after the last change before the page is drawn again: with the run and the
    // painting (tens of milliseconds for the example sheet) the page is back within 300 ms.
    static constexpr int kDelayMs = 250;

    // `extension` is the script's kind: "vis" (investigators) or "vhs" (handouts).
    ScriptPreview(const std::string& extension, Desk* desk, QWidget* parent = nullptr);
    ~ScriptPreview() override;

    // What the preview runs: the script's bytes as they stand, or nothing when they cannot be had.
    void setTextSource(std::function<std::optional<std::string>()> source) { m_text = std::move(source); }
    // The text changed: draw again after kDelayMs unless it changes again first.
    void textChanged();
    // Runs and draws at once (also what the timer does).
    void redraw();

    // The documents offered; the first is chosen unless the one chosen before is still there.
    void refreshSources();
    QComboBox* sourceBox() const { return m_sources; }
    bool isPending() const { return m_timer.isActive(); }

    const QImage& page() const { return m_page; }
    const DraftRun& lastRun() const { return m_lastRun; }
    int redrawCount() const { return m_redraws; }
    // The script line of the item drawn at a point of the page image, 0 for none.
    int lineAtPixel(const QPointF& pixel) const;

signals:
    void lineClicked(int line);
    // After every run: the line of its error (0 for none) and the message.
    void ran(int errorLine, const QString& message);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Source {
        QString title;
        QString path; // a file to read, or empty for an open document's bytes
        std::function<std::string()> bytes;
    };
    bool loadSource();

    std::string m_extension;
    Desk* m_desk;
    std::function<std::optional<std::string>()> m_text;
    std::vector<Source> m_sourceList;
    QComboBox* m_sources;
    PreviewPage* m_view;
    QTimer m_timer;

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<InvestigatorDocumentModel> m_investigator;
    std::unique_ptr<HandoutSheetModel> m_handout;
    // Made anew for every document loaded: see loadSource().
    std::unique_ptr<SheetLayout> m_layout = std::make_unique<SheetLayout>();
    std::unique_ptr<SheetHost> m_host;
    int m_loaded = -1; // the source the models hold

    QImage m_page; // the last good page
    double m_dpi = 72;
    bool m_clickable = false;
    DraftRun m_lastRun;
    int m_redraws = 0;
};

} // namespace vorpane
