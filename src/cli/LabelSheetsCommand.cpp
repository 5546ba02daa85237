// casewright-cli label-sheets: the disc label sheets the program knows, with
// each sheet's paper, label diameters and label centres in millimetres, as
// JSON.

#include <QJsonArray>

#include "base/DiscStock.h"
#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "text/JsonStream.h"

namespace cw {

namespace {

int runLabelSheets(const cli::Args &, QTextStream &out, QTextStream &err)
{
    out.flush();
    // Members in the order a reader meets them: what a sheet is, its paper,
    // then its labels.
    IndentedJsonWriter w(*out.device());
    w.beginArray();
    for (const LabelSheetProduct &p : labelSheets()) {
        w.beginObject();
        w.key(QStringLiteral("id"));
        w.value(p.id);
        w.key(QStringLiteral("name"));
        w.value(p.name);
        w.key(QStringLiteral("paper"));
        w.value(p.paper);
        w.key(QStringLiteral("widthMm"));
        w.value(p.widthMm);
        w.key(QStringLiteral("heightMm"));
        w.value(p.heightMm);
        w.key(QStringLiteral("outerMm"));
        w.value(p.outerMm);
        w.key(QStringLiteral("holeMm"));
        w.value(p.holeMm);
        w.key(QStringLiteral("centres"));
        w.beginArray();
        for (const QPointF &c : p.centresMm)
            w.value(QJsonArray { c.x(), c.y() });
        w.end();
        w.end();
    }
    w.end();
    if (!w.flush()) {
        err << UiText::tr("出力が書き込めません") << '\n';
        return 1;
    }
    return 0;
}

} // namespace

CLI_COMMAND({ .name = "label-sheets", .usage = "label-sheets", .run = runLabelSheets });

} // namespace cw
