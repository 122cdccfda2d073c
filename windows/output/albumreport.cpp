// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumreport.h"

#include <QCoreApplication>

namespace vimbrel {

namespace {

constexpr int headerSize = 12;
constexpr int bodySize = 10;
// Line counts at which a new page starts: before a group, and after a photo.
constexpr int groupBreak = 63;
constexpr int photoBreak = 69;
constexpr int firstPageStart = 10;
constexpr int nextPageStart = 5;

class ReportWriter {
public:
    ReportWriter(const Album& a, const QDate& today) : m_a(a), m_today(today) {}

    QList<ReportPage> write();

private:
    void PrintRepHdr();
    ReportLine& line(int size, int column = 1) {
        m_pages.last().append(ReportLine{size, column, {}});
        return m_pages.last().last();
    }
    void emptyLine(int size) { line(size); }

    const Album& m_a;
    QDate m_today;
    QList<ReportPage> m_pages;
    int m_page = 0;
    int m_lines = 0;
};

QList<ReportPage> ReportWriter::write() {
    PrintRepHdr();
    m_lines = firstPageStart;
    for (int g = 1; g <= m_a.ngrps; ++g) {
        if (m_lines >= groupBreak) {
            PrintRepHdr();
            m_lines = nextPageStart;
        }
        const GrpRec& grp = m_a.grps[g];
        line(bodySize).runs = {{grp.gname.trimmed() + QString(8, QLatin1Char(' ')) +
                                QCoreApplication::translate("phprint", "[Frames: ") +
                                reportCount(grp.glast - grp.gfirst + 1) +
                                QCoreApplication::translate("phprint", "    Photos: ") +
                                reportCount(grp.gcount) + QLatin1Char(']')}};
        line(bodySize).runs = {{grp.gdesc.trimmed()}};
        m_lines += 2;
        const int first = std::max<int>(grp.gfirst, 1);
        const int last = std::min<int>(grp.glast, 1000);
        for (int f = first; f <= last; ++f) {
            const int slot = m_a.frames[f];
            if (slot < 1 || slot > 1000)
                continue;
            const PicRec& p = m_a.pics[slot];
            ReportLine& l = line(bodySize);
            l.runs = {{QStringLiteral("         - ") + p.pfile.trimmed(), true}};
            const QString sdesc = p.psdesc.trimmed();
            if (!sdesc.isEmpty())
                l.runs.append({QStringLiteral("  ,") + sdesc});
            ++m_lines;
            const QString ldesc = p.pldesc.trimmed();
            if (!ldesc.isEmpty()) {
                line(bodySize).runs = {{QString(11, QLatin1Char(' ')) + ldesc}};
                ++m_lines;
            }
            if (m_lines >= photoBreak) {
                PrintRepHdr();
                m_lines = nextPageStart;
            }
        }
        emptyLine(bodySize);
        ++m_lines;
    }
    return m_pages;
}

void ReportWriter::PrintRepHdr() {
    ++m_page;
    m_pages.append(ReportPage());
    line(headerSize, 33).runs = {{QStringLiteral("Vimbrel"), true}};
    line(headerSize, 13).runs = {{m_today.toString(QStringLiteral("MM/dd/yy")) +
                                      QCoreApplication::translate("phprint", "    Page ") +
                                      rightIn5(QString::number(m_page)),
                                  true}};
    const QString s = m_a.albname.trimmed() + QStringLiteral(" - ") + m_a.albdesc.trimmed();
    // Centred on an 80-column page.
    line(headerSize, std::max(1, int((81 - s.length()) / 2))).runs = {{s, true}};
    emptyLine(headerSize);
    if (m_page == 1) {
        const int frames = m_a.ngrps >= 1 ? int(m_a.grps[m_a.ngrps].glast) : 0;
        line(headerSize).runs = {{QCoreApplication::translate("phprint", "Groups: "), true},
                                 {rightIn5(reportCount(m_a.ngrps)), false}};
        line(headerSize).runs = {{QCoreApplication::translate("phprint", "Frames: "), true},
                                 {rightIn5(reportCount(frames)), false}};
        line(headerSize).runs = {{QCoreApplication::translate("phprint", "Photos: "), true},
                                 {rightIn5(reportCount(m_a.npics)), false}};
        emptyLine(headerSize);
    }
    emptyLine(headerSize);
    line(headerSize).runs = {{QCoreApplication::translate("phprint", "Group"), true, true}};
    line(headerSize, 3).runs = {
        {QCoreApplication::translate("phprint", "Photos") + QString(8, QLatin1Char(' ')), true,
         true}};
}

} // namespace

QString ReportLine::text() const {
    QString s;
    for (const ReportRun& r : runs)
        s += r.text;
    return s;
}

QList<ReportPage> albumReport(const Album& a, const QDate& today) {
    return ReportWriter(a, today).write();
}

QString reportCount(int n) {
    QString digits = QString::number(std::abs(n));
    for (int i = digits.length() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

QString rightIn5(const QString& s) {
    return s.rightJustified(5, QLatin1Char(' '));
}

} // namespace vimbrel
