#include "documents/investigator_document.h"

#include "documents/investigator_commands.h"
#include "docview/doc_template.h"
#include "investigator/investigator_file.h"
#include "platform/cp1252.h"
#include "sheet/investigator_defaults.h"

#include <QFile>

namespace vorpane {

namespace {

// Sections of the options list kept at once: a sheet asks for a few.
constexpr int kOptionListSlots = 8;

// Files of the two older versions start with these words.
bool isOlderVersion(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(6);
    return head.startsWith("INV10") || head.startsWith("INV20");
}

} // namespace

CInvestigatorDoc::CInvestigatorDoc(const CMultiFileMultiDocTemplate& docTemplate)
    : Document(docTemplate)
{
    m_subscription = m_model.subscribe([this](DocumentChange change) {
        switch (change) {
        case DocumentChange::ModifiedMark:
            emitModifiedChanged(m_model.isModified());
            break;
        case DocumentChange::Content:
            emit contentChanged();
            break;
        case DocumentChange::Values:
            break;
        }
    });
    InvestigatorCommands::install(*this);
}

CInvestigatorDoc::~CInvestigatorDoc() { m_model.unsubscribe(m_subscription); }

bool CInvestigatorDoc::openDocument(const QString& path)
{
    if (!m_model.open(QFile::encodeName(path).toStdString()))
        return false;
    m_readOlderVersion = isOlderVersion(path);
    setPath(path);
    return true;
}

bool CInvestigatorDoc::saveDocument(const QString& path)
{
    commitEditing();
    if (!m_model.save(QFile::encodeName(path).toStdString()))
        return false;
    m_readOlderVersion = false;
    setPath(path);
    return true;
}

std::string CInvestigatorDoc::fileBytes() const
{
    return InvestigatorFile::text(m_model.investigator(), m_model.sheetScript());
}

QString CInvestigatorDoc::proposedFileName() const
{
    QString name = fromCp1252(m_model.investigator().Name).trimmed();
    if (!path().isEmpty() || name.isEmpty())
        return Document::proposedFileName();
    for (const QChar bad : QStringLiteral("/\\:*?\"<>|"))
        name.replace(bad, QLatin1Char('_'));
    return name + docTemplate().extension();
}

ListFile& CInvestigatorDoc::optionLists()
{
    const std::string& ruleFile = m_model.investigator().RuleFile;
    if (!m_optionLists || ruleFile != m_optionListsRuleFile) {
        m_optionLists.emplace(investigatorOptionsFile(m_model.investigator()), kOptionListSlots);
        m_optionListsRuleFile = ruleFile;
    }
    return *m_optionLists;
}

} // namespace vorpane
