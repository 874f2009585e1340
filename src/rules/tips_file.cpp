#include "rules/tips_file.h"

#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/ui_services.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace vorpane {

namespace {

constexpr const char* kCorrupt
    = "The tips file is corrupt. Zhaldor's thought of the day will not be displayed";

bool skipped(char first)
{
    return first == '\t' || first == ' ' || first == ';' || first == '\n' || first == '\r';
}

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return QString::fromLatin1(a.data(), qsizetype(a.size()))
               .compare(QString::fromLatin1(b.data(), qsizetype(b.size())), Qt::CaseInsensitive)
        == 0;
}

} // namespace

TipsFile::~TipsFile() { close(); }

std::string TipsFile::timeStampText(const QDateTime& time)
{
    const QLocale c = QLocale::c();
    const QDate date = time.date();
    const QString text = c.toString(time, QStringLiteral("ddd MMM "))
        + QString::number(date.day()).rightJustified(2) + c.toString(time, QStringLiteral(" HH:mm:ss yyyy"));
    return text.trimmed().toStdString();
}

void TipsFile::open(const std::string& path)
{
    close();
    m_enabled = false;
    m_wantedAtStartUp = Profile::read(profile_keys::kTipsStartUp) == 0;
    qint64 offset = Profile::read(profile_keys::kTipsFilePos);

    QFile file(QFile::decodeName(path.c_str()));
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly)) {
        m_tip = "Cannot find tips file";
        return;
    }
    const QByteArray bytes = file.readAll();
    m_bytes.assign(bytes.constData(), size_t(bytes.size()));
    m_open = true;

    const std::string stamp = timeStampText(info.lastModified());
    if (!sameIgnoringCase(stamp, Profile::read(profile_keys::kTipsTimeStamp))) {
        Profile::write(profile_keys::kTipsTimeStamp, stamp);
        offset = 0;
    }
    if (offset < 0 || offset > qint64(m_bytes.size())) {
        showMessage(kCorrupt, {}, MsgIcon::None);
        Profile::write(profile_keys::kTipsStartUp, 0);
        m_bytes.clear();
        m_open = false;
        return;
    }
    m_position = offset;
    m_enabled = true;
    next();
}

void TipsFile::close()
{
    if (!m_open)
        return;
    Profile::write(profile_keys::kTipsFilePos, int(m_position));
    m_open = false;
    m_bytes.clear();
}

bool TipsFile::next()
{
    if (!m_enabled)
        return false;
    const qint64 size = qint64(m_bytes.size());
    // One round of the whole file at most: a file of comments alone must not loop for ever.
    for (qint64 scanned = 0; scanned < size;) {
        if (m_position >= size)
            m_position = 0;
        const size_t end = m_bytes.find('\n', size_t(m_position));
        const qint64 lineEnd = end == std::string::npos ? size : qint64(end) + 1;
        const std::string_view line(m_bytes.data() + m_position, size_t(lineEnd - m_position));
        scanned += lineEnd - m_position;
        m_position = lineEnd;
        if (skipped(line.front()))
            continue;
        std::string_view text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.remove_suffix(1);
        m_tip.assign(text.substr(0, kMaxTipLength));
        return true;
    }
    m_enabled = false;
    m_tip.clear();
    return false;
}

} // namespace vorpane
