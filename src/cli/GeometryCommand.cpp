#include "cli/CliCommand.h"
#include "render/Geometry.h"

namespace cw {

namespace {

int runGeometry(const cli::Args &args, QTextStream &out, QTextStream &)
{
    auto [dpiX, dpiY] = cli::parseDpi(args.value(QStringLiteral("dpi"), QStringLiteral("96")));
    auto [pageW, pageH]
        = cli::parseSize(args.value(QStringLiteral("page"), QStringLiteral("1046x604")));
    PageScale s = pageScale(dpiX, dpiY);
    SurfacePixels px = surfacePixelsAt(dpiX, dpiY);
    FrontPageGeometry f = computeFrontPageGeometry(dpiX, dpiY, pageW, pageH);
    BackPageGeometry b = computeBackPageGeometry(dpiX, dpiY, pageW, pageH);
    auto real = [&](const char *key, double v) {
        out << key << ' ' << QString::asprintf("%.6f", v) << '\n';
    };
    auto whole = [&](const char *key, int v) { out << key << ' ' << v << '\n'; };
    real("kx", s.kx);
    real("ky", s.ky);
    real("lineX", s.lineX);
    real("lineY", s.lineY);
    whole("topWidth", px.topWidth);
    whole("topHeight", px.topHeight);
    whole("bottomWidth", px.bottomWidth);
    whole("bottomHeight", px.bottomHeight);
    whole("sideWidth", px.sideWidth);
    whole("sideHeight", px.sideHeight);
    whole("front.W", f.W);
    whole("front.H", f.H);
    whole("front.L", f.L);
    whole("front.T", f.T);
    whole("front.R", f.R);
    whole("front.B", f.B);
    whole("back.H", b.H);
    whole("back.T", b.T);
    whole("back.B", b.B);
    whole("back.L", b.L);
    whole("back.X1", b.X1);
    whole("back.X2", b.X2);
    whole("back.X3", b.X3);
    return 0;
}

} // namespace

CLI_COMMAND({ .name = "geometry",
    .usage = "geometry [--dpi X[xY]] [--page WxH]",
    .valueOptions = { QStringLiteral("dpi"), QStringLiteral("page") },
    .run = runGeometry });

} // namespace cw
