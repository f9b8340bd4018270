#include "formats/TableExport.h"

#include "common/Cp1251.h"
#include "formats/Biff8Writer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QVector>
#include <algorithm>
#include <array>

namespace {

const QString KCrLf = QStringLiteral("\r\n");

QString FirstLine(const QString& text) {
    const qsizetype cr = text.indexOf(QLatin1Char('\r')), lf = text.indexOf(QLatin1Char('\n'));
    qsizetype cut = cr < 0 ? lf : (lf < 0 ? cr : std::min(cr, lf));
    return cut < 0 ? text : text.left(cut);
}

// Classic Windows defaults of the system colours, by system-colour index.
constexpr std::array<uint32_t, 25> KSystemRgb = {
    0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8, 0x808080, 0x808080,
    0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000, 0xFFFFE1};

// RGB (0xRRGGBB) of a colour value; false for none, the default colour and unknown system colours.
bool ColorRgb(uint32_t color, uint32_t& rgb) {
    if ((color & 0xFF000000u) == 0x80000000u) {
        const uint32_t i = color & 0xFFu;
        if (i >= KSystemRgb.size())
            return false;
        rgb = KSystemRgb[i];
        return true;
    }
    if (color & 0xFF000000u)
        return false; // clNone, clDefault and other special values
    rgb = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    return true;
}

// ----------------------------------------------------------------------------------- RTF

QByteArray RtfText(const QString& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out.append('\\');
            out.append(char(u));
        } else if (u == '\r' || u == '\n') {
            if (u == '\r' && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            out.append("\\line ");
        } else if (u == '\t') {
            out.append("\\tab ");
        } else if (u < 0x20) {
            continue; // other control characters have no place in a cell
        } else if (u < 0x80) {
            out.append(char(u));
        } else if (const int code = Cp1251::CodeOf(u); code >= 0) {
            out.append("\\'");
            out.append(QByteArray::number(code, 16).rightJustified(2, '0'));
        } else {
            // Outside the code page: the Unicode form with "?" for readers that do not know it.
            out.append("\\u");
            out.append(QByteArray::number(static_cast<int16_t>(u)));
            out.append('?');
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------- HTML

QString HtmlText(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        switch (ch.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            out += QLatin1String("<br>");
            break;
        case '\n':
            out += QLatin1String("<br>");
            break;
        default:
            if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                out += QStringLiteral("&#%1;").arg(QChar::surrogateToUcs4(ch, text[i + 1]));
                ++i;
            } else if (ch.isSurrogate()) {
                out += QLatin1Char('?'); // a broken pair has no character to name
            } else if (Cp1251::CodeOf(ch.unicode()) >= 0) {
                out += ch;
            } else {
                out += QStringLiteral("&#%1;").arg(ch.unicode());
            }
        }
    }
    return out;
}

} // namespace

QString HtmlColor(uint32_t color) {
    uint32_t rgb = 0;
    if (!ColorRgb(color, rgb))
        return QString();
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}

QByteArray TextExportBytes(const TGridData& grid) {
    QVector<qsizetype> widths(grid.ColCount, 0);
    for (int c = 0; c < grid.ColCount; ++c)
        for (int r = 0; r < grid.RowCount; ++r)
            widths[c] = std::max(widths[c], grid.Cell(c, r).Text.size());
    QString out;
    for (int r = 0; r < grid.RowCount; ++r) {
        for (int c = 0; c < grid.ColCount; ++c) {
            const TGridCell& cell = grid.Cell(c, r);
            QString field = FirstLine(cell.Text);
            const qsizetype width = widths[c];
            if (cell.Alignment == TCellAlign::Right) {
                field = field.rightJustified(width, QLatin1Char(' '));
            } else if (cell.Alignment == TCellAlign::Center) {
                while (field.size() < width)
                    field = QLatin1Char(' ') + field + QLatin1Char(' ');
            }
            if (field.size() < width + 1)
                field = field.leftJustified(width + 1, QLatin1Char(' '));
            out += field;
        }
        out += KCrLf;
    }
    return Cp1251::Encode(out);
}

QByteArray RtfExportBytes(const TGridData& grid) {
    // Colour table: entry 0 is "auto"; the cells' colours follow in order of first use.
    QVector<uint32_t> colors;
    auto colorIndex = [&colors](uint32_t color) -> int {
        uint32_t rgb = 0;
        if (!ColorRgb(color, rgb))
            return 0;
        qsizetype i = colors.indexOf(rgb);
        if (i < 0) {
            colors.append(rgb);
            i = colors.size() - 1;
        }
        return static_cast<int>(i) + 1;
    };
    QByteArray body;
    for (int r = 0; r < grid.RowCount; ++r) {
        body.append("\\trowd\\trgaph70\\trleft0");
        if (r == 0)
            body.append("\\trhdr");
        body.append("\r\n");
        int right = 0;
        for (int c = 0; c < grid.ColCount; ++c) {
            const int px = c < static_cast<int>(grid.ColWidths.size()) ? grid.ColWidths[c] : 0;
            right += px > 0 ? px * 15 : 1440; // 15 twips per pixel at 96 dpi
            body.append("\\clvertalc\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                        "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10");
            if (const int bg = colorIndex(grid.Cell(c, r).ShownBrushColor); bg > 0)
                body.append("\\clcbpat" + QByteArray::number(bg));
            body.append("\\cellx" + QByteArray::number(right) + "\r\n");
        }
        for (int c = 0; c < grid.ColCount; ++c) {
            const TGridCell& cell = grid.Cell(c, r);
            body.append("\\pard\\intbl");
            body.append(cell.Alignment == TCellAlign::Right    ? "\\qr"
                        : cell.Alignment == TCellAlign::Center ? "\\qc"
                                                               : "\\ql");
            QByteArray format;
            if (cell.Bold)
                format.append("\\b");
            if (cell.Italic)
                format.append("\\i");
            if (cell.Underline)
                format.append("\\ul");
            if (const int fc = colorIndex(EffectiveFontColor(cell)); fc > 0)
                format.append("\\cf" + QByteArray::number(fc));
            if (!format.isEmpty())
                format.append(' '); // ends the last control word; a blank after "{" alone would be text
            body.append("{" + format);
            body.append(RtfText(cell.Text));
            body.append("}\\cell\r\n");
        }
        body.append("\\row\r\n");
    }
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\r\n"
                     "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\r\n{\\colortbl;";
    for (uint32_t rgb : colors) {
        out.append("\\red" + QByteArray::number(rgb >> 16) + "\\green" +
                   QByteArray::number((rgb >> 8) & 0xFF) + "\\blue" + QByteArray::number(rgb & 0xFF) + ";");
    }
    out.append("}\r\n\\uc1\\f0\\fs20\r\n");
    out.append(body);
    out.append("\\pard\\par\r\n}\r\n");
    return out;
}

QByteArray HtmlExportBytes(const TGridData& grid) {
    QString out =
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">") + KCrLf;
    for (int r = 0; r < grid.RowCount; ++r) {
        out += QLatin1String("<tr>") + KCrLf;
        for (int c = 0; c < grid.ColCount; ++c) {
            const TGridCell& cell = grid.Cell(c, r);
            QString td = QStringLiteral("<td nowrap");
            if (cell.Alignment == TCellAlign::Right)
                td += QLatin1String(" align=\"right\"");
            else if (cell.Alignment == TCellAlign::Center)
                td += QLatin1String(" align=\"center\"");
            if (const QString bg = HtmlColor(cell.ShownBrushColor); !bg.isEmpty())
                td += QStringLiteral(" bgcolor=\"%1\"").arg(bg);
            td += QLatin1Char('>');
            QString open, close;
            if (const QString fc = HtmlColor(EffectiveFontColor(cell)); !fc.isEmpty()) {
                open += QStringLiteral("<font color=\"%1\">").arg(fc);
                close.prepend(QLatin1String("</font>"));
            }
            if (cell.Bold) {
                open += QLatin1String("<b>");
                close.prepend(QLatin1String("</b>"));
            }
            if (cell.Italic) {
                open += QLatin1String("<i>");
                close.prepend(QLatin1String("</i>"));
            }
            if (cell.Underline) {
                open += QLatin1String("<u>");
                close.prepend(QLatin1String("</u>"));
            }
            td += cell.Text.isEmpty() ? QStringLiteral("<br>") : open + HtmlText(cell.Text) + close;
            td += QLatin1String("</td>");
            out += td + KCrLf;
        }
        out += QLatin1String("</tr>") + KCrLf;
    }
    out += QLatin1String("</table>") + KCrLf;
    return Cp1251::Encode(out);
}

QByteArray XlsExportBytes(const TGridData& grid, QString* error) {
    const QByteArray stream = Biff8::WorkbookStream(grid, error);
    if (stream.isEmpty())
        return {};
    return Biff8::CompoundFile(QStringLiteral("Workbook"), stream, error);
}

TFileResult ExportText(const TGridData& grid, const QString& fileName) {
    return SaveFileBytes(fileName, TextExportBytes(grid));
}

TFileResult ExportDoc(const TGridData& grid, const QString& fileName) {
    return SaveFileBytes(fileName, RtfExportBytes(grid));
}

TFileResult ExportXls(const TGridData& grid, const QString& fileName) {
    QString error;
    const QByteArray bytes = XlsExportBytes(grid, &error);
    if (bytes.isEmpty())
        return {false, error};
    return SaveFileBytes(fileName, bytes);
}

TFileResult ExportHtml(const TGridData& grid, const QString& fileName) {
    return SaveFileBytes(fileName, HtmlExportBytes(grid));
}

TFileResult ExportTable(const TGridData& grid, const QString& fileName) {
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("txt"))
        return ExportText(grid, fileName);
    if (ext == QLatin1String("doc"))
        return ExportDoc(grid, fileName);
    if (ext == QLatin1String("xls"))
        return ExportXls(grid, fileName);
    if (ext == QLatin1String("html"))
        return ExportHtml(grid, fileName);
    return {false, QCoreApplication::translate("Formats", "Неизвестный формат экспорта: \"%1\".")
                       .arg(QFileInfo(fileName).fileName())};
}
