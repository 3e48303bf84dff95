// Text output and measuring on device contexts.
#include "platform/vcl/DcInternal.h"

#include <QFontMetrics>

#include <algorithm>
#include <cstring>

using namespace vcl_internal;

namespace {

const TFontData& FontOf(HDC dc) {
    if (!dc->FontData) dc->FontData = FontDataOf(dc->Font);
    return *dc->FontData;
}

QFontMetrics MetricsOf(HDC dc) {
    const QFont& font = FontOf(dc).Font;
    if (dc->Kind == HDC__::Painter && dc->External && dc->External->device())
        return QFontMetrics(font, dc->External->device());
    return QFontMetrics(font);
}

QString Text(const char* text, int length) {
    if (!text) return QString();
    if (length < 0) length = static_cast<int>(std::strlen(text));
    return QString::fromUtf8(text, length);
}

QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

} // namespace

BOOL TextOut(HDC dc, int x, int y, const char* text, int length) {
    return ExtTextOut(dc, x, y, 0, nullptr, text, length < 0 ? UINT(-1) : UINT(length), nullptr);
}

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, const char* text, UINT length,
                const INT*) {
    if (!IsLiveDC(dc)) return FALSE;
    const QString s = Text(text, length == UINT(-1) ? -1 : static_cast<int>(length));
    const QFontMetrics m = MetricsOf(dc);
    TDcPaint p(dc);
    if (!p) return FALSE;
    if (rect && (options & ETO_OPAQUE)) p->fillRect(ToQRect(*rect), ToColor(dc->BkColor));
    if (rect && (options & ETO_CLIPPED)) p->setClipRect(ToQRect(*rect), Qt::IntersectClip);
    if (s.isEmpty()) return TRUE;
    if (dc->BkMode == OPAQUE)
        p->fillRect(QRect(x, y, m.horizontalAdvance(s), m.height()), ToColor(dc->BkColor));
    p->setFont(FontOf(dc).Font);
    p->setPen(ToColor(dc->TextColor));
    p->drawText(QPoint(x, y + m.ascent()), s);
    return TRUE;
}

int DrawText(HDC dc, const char* text, int length, TRect* rect, UINT format) {
    if (!IsLiveDC(dc) || !rect) return 0;
    QString s = Text(text, length);
    const QFontMetrics m = MetricsOf(dc);
    const QRect r = ToQRect(*rect);
    int flags = 0;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & DT_SINGLELINE) {
        flags |= Qt::TextSingleLine;
        flags |= (format & DT_VCENTER)  ? Qt::AlignVCenter
                 : (format & DT_BOTTOM) ? Qt::AlignBottom
                                        : Qt::AlignTop;
        if (format & DT_END_ELLIPSIS) s = m.elidedText(s, Qt::ElideRight, std::max(0, r.width()));
    } else {
        flags |= Qt::AlignTop;
    }
    if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    if (format & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
    if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    const QRect bound = m.boundingRect(r, flags, s);
    if (format & DT_CALCRECT) {
        // Without word breaks the size is the advance of the longest line, as the platform measures.
        int width = bound.width(), height = bound.height();
        if (!(format & DT_WORDBREAK)) {
            const QStringList lines = (format & DT_SINGLELINE) ? QStringList{s} : s.split(QLatin1Char('\n'));
            width = 0;
            for (const QString& line : lines)
                width = std::max(width, m.horizontalAdvance(QString(line).remove(QLatin1Char('&'))));
            height = static_cast<int>(lines.size()) * m.height();
        }
        rect->Right = rect->Left + width;
        rect->Bottom = rect->Top + height;
        return height;
    }
    TDcPaint p(dc);
    if (!p) return 0;
    if (!(format & DT_NOCLIP)) p->setClipRect(r, Qt::IntersectClip);
    if (dc->BkMode == OPAQUE) p->fillRect(m.boundingRect(r, flags, s), ToColor(dc->BkColor));
    p->setFont(FontOf(dc).Font);
    p->setPen(ToColor(dc->TextColor));
    p->drawText(r, flags, s);
    return bound.height();
}

BOOL GetTextExtentPoint32(HDC dc, const char* text, int length, SIZE* size) {
    if (!IsLiveDC(dc) || !size) return FALSE;
    const QFontMetrics m = MetricsOf(dc);
    size->cx = m.horizontalAdvance(Text(text, length));
    size->cy = m.height();
    return TRUE;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics) {
    if (!IsLiveDC(dc) || !metrics) return FALSE;
    const QFontMetrics m = MetricsOf(dc);
    metrics->tmHeight = m.height();
    metrics->tmAscent = m.ascent();
    metrics->tmDescent = m.descent();
    metrics->tmInternalLeading = std::max(0, m.height() - FontOf(dc).Font.pixelSize());
    metrics->tmExternalLeading = std::max(0, m.leading());
    metrics->tmAveCharWidth = m.averageCharWidth();
    metrics->tmMaxCharWidth = m.maxWidth();
    return TRUE;
}
