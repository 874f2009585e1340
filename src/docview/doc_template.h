#pragma once
// A document type: its template string (window title, type name, new-file name, filter name,
// extension, registry type id and name, separated by "\n"), the menu bar its windows show, and
// the factories of its documents and views. The type name ("Investigator", "Script"...) is how
// the program finds a template.

#include "docview/commands.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace vorpane {

class Desk;
class Document;
class DocumentView;

class CMultiFileMultiDocTemplate final {
public:
    enum Field {
        WindowTitle,
        TypeName,
        NewFileName,
        FilterName,
        FilterExtension,
        RegistryTypeId,
        RegistryTypeName
    };

    using DocumentFactory = std::function<std::unique_ptr<Document>(const CMultiFileMultiDocTemplate&)>;
    using ViewFactory = std::function<DocumentView*(Document&)>;

    CMultiFileMultiDocTemplate(int resourceId, const QString& templateString, MenuKind menu,
        DocumentFactory makeDocument, ViewFactory makeView);

    int resourceId() const { return m_resourceId; }
    QString field(Field field) const { return m_fields.value(field); }
    QString typeName() const { return field(TypeName); }
    // ".inv"
    QString extension() const { return field(FilterExtension); }
    // "Zhaldor Investigators (*.inv)", as a Qt file-dialog filter.
    QString filter() const { return field(FilterName); }
    MenuKind menuKind() const { return m_menu; }

    // Whether the file's name ends in this type's extension (case ignored).
    bool matchesFile(const QString& path) const;

    std::unique_ptr<Document> createDocument() const { return m_makeDocument(*this); }
    DocumentView* createView(Document& document) const { return m_makeView(document); }

    // The window the type's documents and views live in; null outside one (a test's bare document).
    Desk* desk() const { return m_desk; }
    void setDesk(Desk* desk) { m_desk = desk; }

private:
    int m_resourceId;
    QStringList m_fields;
    MenuKind m_menu;
    DocumentFactory m_makeDocument;
    ViewFactory m_makeView;
    Desk* m_desk = nullptr;
};

} // namespace vorpane
