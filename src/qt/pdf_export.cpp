#include "qt/pdf_export.h"

#include <QBuffer>
#include <QFont>
#include <QPageSize>
#include <QPdfWriter>
#include <cstdio>
#include <memory>
#include <span>

#include "database/atomic_file.h"
#include "database/channel_file.h"
#include "print/print_sources.h"
#include "qt/code_page_setting.h"
#include "qt/list_pages.h"
#include "ui/resource_ids.h"

namespace zoedit::qt {

namespace {

// A common printer's resolution: margins and rules are in printer dots.
constexpr int kPdfResolution = 600;

int fail(const QString& line) {
    std::fprintf(stderr, "%s\n", qPrintable(line));
    return 1;
}

}  // namespace

int printListToPdf(const QString& out, const QString& list, const QString& file) {
    if (list != QLatin1String("tv") && list != QLatin1String("radio"))
        return fail(QStringLiteral("--list must be tv or radio, not %1").arg(list));
    auto db = std::make_unique<ChannelDatabase>();
    const LoadResult loaded = loadChannelFile(file.toStdString(), *db);
    if (!loaded.ok()) {
        QStringList reasons;
        for (const std::string& message : loaded.messages)
            reasons << QString::fromStdString(message);
        return fail(file + QStringLiteral(": ") +
                    (reasons.isEmpty() ? QStringLiteral("cannot be read")
                                       : reasons.join(QStringLiteral(" / "))));
    }
    const ChannelKind kind = list == QLatin1String("radio") ? ChannelKind::Radio : ChannelKind::Tv;
    print::PrintSource source = print::channelTableSource(*db, kind, loadCodePage());
    if (source.rowCount == 0)
        return fail(file + QStringLiteral(": ") + printMessage(print::PrintStatus::EmptyList));

    // The pages are drawn in memory and reach OUT through the program's one
    // atomic writer: OUT holds the old file or the whole new one.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QString error;
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(kPdfResolution);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(QString::fromLatin1(print::kPrintTitle));
        writer.setCreator(QString::fromLatin1(ui::kAppTitle));
        print::CListPrinter printer;
        printer.setDocumentTitle(ui::kDocumentTitle);
        error = paintListPages(writer, printer, std::move(source), QFont());
    }
    if (!error.isEmpty()) return fail(file + QStringLiteral(": ") + error);
    const QByteArray& bytes = pdf.data();
    const SaveResult saved = writeFileAtomically(
        out.toStdString(), std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                     static_cast<std::size_t>(bytes.size())));
    if (!saved.ok) return fail(QString::fromStdString(saved.message));
    return 0;
}

}  // namespace zoedit::qt
