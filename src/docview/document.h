#pragma once
// A document of the desktop: its type, file path, title, modified mark and views. Subclasses hold
// the content (an investigator, a handout, a script's bytes) and read and write it.
//
// Views observe their document; the document tells them through contentChanged() (run again,
// reread everything) and modifiedChanged() (title bars).

#include "docview/command_target.h"

#include <QList>
#include <QObject>
#include <QString>
#include <string>

namespace vorpane {

class CMultiFileMultiDocTemplate;
class Desk;
class DocumentView;

class Document : public QObject, public CommandTarget {
    Q_OBJECT
public:
    explicit Document(const CMultiFileMultiDocTemplate& docTemplate);
    ~Document() override;

    const CMultiFileMultiDocTemplate& docTemplate() const { return m_template; }
    // The window holding the document, or null.
    Desk* desk() const;

    // The file, empty for a document never saved.
    const QString& path() const { return m_path; }
    // Sets the path and, with it, the title (the file's name).
    void setPath(const QString& path);
    const QString& title() const { return m_title; }
    void setTitle(const QString& title);

    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;

    // Reads the file; on failure the reader has shown its messages and the document is unchanged.
    virtual bool openDocument(const QString& path) = 0;
    // Writes the file (never half: the old file stays on failure, with a message); on success
    // the document is unmodified and keeps the path.
    virtual bool saveDocument(const QString& path) = 0;
    // The bytes a save would write now, for the recovery copies.
    virtual std::string fileBytes() const = 0;
    // Whether Save may write to path() as it is; a file read in an older format is saved as a new
    // file instead, so that the original stays readable by the program that wrote it.
    virtual bool canSaveInPlace() const { return !m_path.isEmpty(); }
    // The name the save dialog proposes.
    virtual QString proposedFileName() const;

    const QList<DocumentView*>& views() const { return m_views; }
    void addView(DocumentView* view);
    void removeView(DocumentView* view);

    // Ask every view to end editing, committing: before a save, a print or a command.
    void commitEditing();

signals:
    void modifiedChanged(bool modified);
    void titleChanged();
    // The content changed as a whole; views run their scripts again.
    void contentChanged();

protected:
    // Subclasses call this whenever the mark changes.
    void emitModifiedChanged(bool modified) { emit modifiedChanged(modified); }

private:
    const CMultiFileMultiDocTemplate& m_template;
    QString m_path;
    QString m_title;
    QList<DocumentView*> m_views;
};

} // namespace vorpane
