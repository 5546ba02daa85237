// --help and --version of casewright-cli: the texts, and which of them the
// arguments ask for. The texts are the interface's, in its language.
#include "cli/CommandHelp.h"

#include <algorithm>

#include "base/ProgramFolders.h"
#include "base/UiText.h"

namespace cw::cli {

namespace {

// Options and their values are typed as they are in either language; what
// they do is a text marked for translation.
struct OptionHelp
{
    const char *option; // as typed, with its value: "--dpi X[xY]"
    const char *text;
};

struct CommandText
{
    const char *name;
    const char *summary; // one line, for the list of commands
    const char *description; // the paragraph of the command's own help
    QList<OptionHelp> options;
};

const OptionHelp kPrinterDpi { "--printer-dpi X[xY]",
    QT_TRANSLATE_NOOP("cw::UiText", "文書が基準とするプリンタの解像度(既定 300)") };
const OptionHelp kPrintOption { "--option NAME=0|1",
    QT_TRANSLATE_NOOP("cw::UiText",
        "この実行に限り印刷設定を一つ変えます(AreaLinePrint, CutLinePrint, SideTitleSameTop, "
        "TopLabelPrint, BottomLabelPrint, InsidePrint, DiscLabelPrint)。繰り返して指定できます") };
const OptionHelp kHelp { "--help",
    QT_TRANSLATE_NOOP("cw::UiText", "このヘルプを表示して終了します") };
const OptionHelp kOffset { "--offset X,Y",
    QT_TRANSLATE_NOOP("cw::UiText",
        "プリンタに記録した補正の代わりに、用紙全体を右へ X mm、下へ Y mm ずらします(小数一桁、"
        "-10.0〜10.0)") };
const OptionHelp kBleed { "--bleed N",
    QT_TRANSLATE_NOOP("cw::UiText",
        "記録した塗り足しの代わりに、背景と画像を外側の裁ち線から N mm (0〜3) 延ばします") };
const OptionHelp kPaper { "--paper a4|letter",
    QT_TRANSLATE_NOOP("cw::UiText", "PDF ファイルの用紙: A4 横(既定)かレター横。--pdf と一緒に") };
const OptionHelp kLabelSheet { "--label-sheet ID",
    QT_TRANSLATE_NOOP("cw::UiText",
        "記録したディスクの用紙の代わりに、このラベルシート(label-sheets の id、または "
        "custom)") };
const OptionHelp kPrintableDisc { "--printable-disc",
    QT_TRANSLATE_NOOP("cw::UiText",
        "ディスクをラベルシートでなく、プリンタブルディスクに印刷します") };
const OptionHelp kPlugins { "--plugins DIR",
    QT_TRANSLATE_NOOP(
        "cw::UiText", "プログラムのデコーダモジュールの代わりに DIR のモジュールを読みます") };

const QList<CommandText> &commandTexts()
{
    static const QList<CommandText> texts = {
        { "geometry", QT_TRANSLATE_NOOP("cw::UiText", "ある解像度でのページの寸法"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "ある解像度でのページの寸法を「キー 値」の行で一つずつ表示します。縮尺、各面の"
                "ピクセル数、表ページと裏ページの枠です。"),
            { { "--dpi X[xY]", QT_TRANSLATE_NOOP("cw::UiText", "解像度(既定 96)") },
                { "--page WxH",
                    QT_TRANSLATE_NOOP(
                        "cw::UiText", "ページのピクセル数(既定 1046x604、プレビューのページ)") },
                kPrinterDpi } },
        { "dump", QT_TRANSLATE_NOOP("cw::UiText", "文書を JSON で表示"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "文書を読み、ファイルの版(fileVersion)と文字コード(fileEncoding)を添えて JSON "
                "で表示します。ケースの種類の id は format です。"),
            { kPrinterDpi } },
        { "convert", QT_TRANSLATE_NOOP("cw::UiText", "文書を読んで書き出す"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "文書 IN.cwr を読み、OUT.cwr として書き出します(版 1.06、Shift-JIS)。Shift-JIS "
                "で表せない文字を含む文書は、許可したときだけ版 1.07 (UTF-8) で書き出し、許可の"
                "ないときは何も書きません。ジュエルケース以外のケースの文書は版 1.08 (UTF-8) "
                "です。"),
            { { "--format ID",
                  QT_TRANSLATE_NOOP("cw::UiText",
                      "文書をこのケースの種類 (formats が示す id) にして書き出します。置いたものは"
                      "その面の左上からの位置を保ちます") },
                { "--size P,H,S",
                  QT_TRANSLATE_NOOP("cw::UiText",
                      "カスタムケース (custom-wrap) のパネルの幅、パネルの高さ、背の幅 (mm、小数"
                      "1桁)。パネルは 20.0〜300.0、背は 0.0〜60.0 です") },
                { "--allow-unicode",
                  QT_TRANSLATE_NOOP("cw::UiText",
                      "Shift-JIS で表せない文字があるときは版 1.07 (UTF-8) で書き出します") },
                kPrinterDpi } },
        { "import-list", QT_TRANSLATE_NOOP("cw::UiText", "リストの読み込みで作られる行"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "リストの読み込みで作られる行を JSON で表示します。読み込むのはタブ区切りか CSV "
                "のテキスト FILE、キューシート、音声ファイルのフォルダ、または音声ファイルです。"),
            { { "--columns N", QT_TRANSLATE_NOOP("cw::UiText", "リストの列数、1〜3 (既定 3)") },
                kPrinterDpi } },
        { "template", QT_TRANSLATE_NOOP("cw::UiText", "リストのレイアウトのテンプレート"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "リストのレイアウトのテンプレート(*.cwt)を読み、その面、名前、レイアウトを JSON "
                "で表示します。テンプレートでないファイルは終了コード 1 です。"),
            { kPrinterDpi } },
        { "filter", QT_TRANSLATE_NOOP("cw::UiText", "画像のファイルの種類"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "画像を開くダイアログのファイルの種類を表示します。プログラムの BMP デコーダと"
                "各デコーダモジュールが読める形式です。"),
            { kPlugins, kPrinterDpi } },
        { "decode", QT_TRANSLATE_NOOP("cw::UiText", "画像を読み込む"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "プログラムと同じように画像を読み込み(BMP は直接、その他の形式はデコーダモジュー"
                "ルで)、大きさを WxH で表示します。"),
            { kPlugins,
                { "--png OUT",
                    QT_TRANSLATE_NOOP("cw::UiText", "画像を PNG ファイルにも書き出します") },
                kPrinterDpi } },
        { "render", QT_TRANSLATE_NOOP("cw::UiText", "文書の一ページを描く"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "文書の一ページを描きます。--size がなければ文書のケースのプレビューのページ "
                "(ジュエルケースは 277.0 x 160.0 mm) を --dpi で描き、PNG ファイル、PDF ファイル、"
                "または描画呼び出しの一覧にします。"
                "--png、--pdf、--ops のどれか一つを指定します。"),
            { { "--page front|back|disc|page-K",
                  QT_TRANSLATE_NOOP("cw::UiText",
                      "描くページ: 文書のケースのシートの id (ジュエルケースは front と back、"
                      "formats が示します)、ディスクの面 disc、または表レーベルの K ページ目だけの "
                      "page-K (page-1 は表紙)") },
                { "--dpi X[xY]", QT_TRANSLATE_NOOP("cw::UiText", "ページの解像度(既定 96)") },
                { "--size WxH",
                    QT_TRANSLATE_NOOP(
                        "cw::UiText", "プレビューのページの代わりに、このピクセル数のページ") },
                { "--png F",
                    QT_TRANSLATE_NOOP("cw::UiText", "ページを PNG ファイルに書き出します") },
                { "--pdf F",
                    QT_TRANSLATE_NOOP("cw::UiText", "ページを PDF ファイルに書き出します") },
                { "--ops",
                    QT_TRANSLATE_NOOP("cw::UiText", "描画呼び出しを一行に一つずつ表示します") },
                kPrintOption, kBleed, kPrinterDpi,
                { "--disc-guides",
                    QT_TRANSLATE_NOOP("cw::UiText",
                        "ディスクの外周と穴の円を細い灰色の線で描きます") },
                kLabelSheet, kPrintableDisc } },
        { "print", QT_TRANSLATE_NOOP("cw::UiText", "文書を印刷する"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "印刷設定(TopLabelPrint, BottomLabelPrint, InsidePrint, DiscLabelPrint)が選ぶページを、"
                "ダイアログなしで一つの"
                "ジョブとして印刷します。印刷先は既定のプリンタ、指定したプリンタ、または "
                "--printer-dpi のプリンタ向けに作る一つの PDF ファイル(画像も含みます)です。"
                "プリンタへの印刷ではプログラムのモジュールのフォルダから casewright-printing.so "
                "を読み込み、そのプリンタ自身の解像度で文書を配置します。"),
            { { "--printer NAME",
                  QT_TRANSLATE_NOOP(
                      "cw::UiText", "既定のプリンタの代わりにこのプリンタに印刷します") },
                { "--pdf F",
                    QT_TRANSLATE_NOOP(
                        "cw::UiText", "印刷せずに、ページを PDF ファイル F に書き出します") },
                kPaper, kPrintOption, kOffset, kBleed, kPrinterDpi, kLabelSheet,
                { "--labels N,N",
                    QT_TRANSLATE_NOOP("cw::UiText",
                        "ラベルシートのうち印刷するラベルの番号(既定はすべて)") },
                kPrintableDisc } },
        { "export-pdf", QT_TRANSLATE_NOOP("cw::UiText", "ケースの全ページを A4 横で"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "文書のケースの全ページ(ジュエルケースは両ページ)を A4 横の用紙の一つの PDF "
                "ファイルに書き出し、そのファイル名を表示します。"),
            { { "--dpi N", QT_TRANSLATE_NOOP("cw::UiText", "ページを配置する解像度(既定 300)") },
                kPrintOption, kOffset, kBleed,
                { "--press",
                    QT_TRANSLATE_NOOP("cw::UiText",
                        "印刷所用: シートごとに、仕上がりと四方の塗り足しとトンボが入る大きさのペー"
                        "ジに置き、TrimBox (仕上がり) と BleedBox (塗り足し) を設定します。"
                        "--offset とは一緒に使えません") },
                { "--imposed",
                    QT_TRANSLATE_NOOP("cw::UiText",
                        "--press で、ブックレットのページを読む順に一ページずつではなく、印刷する"
                        "面のまま置きます") },
                kPrinterDpi } },
        { "formats", QT_TRANSLATE_NOOP("cw::UiText", "ケースの種類とその寸法"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "プログラムが作るケースの種類を JSON で表示します。種類ごとに id、名前、シート、"
                "シートごとにその面の id、役割、位置と大きさ (mm) です。寸法を文書が決めるカ"
                "スタムケースは custom が true で、寸法はその既定です。"),
            { kPrinterDpi } },
        { "label-sheets", QT_TRANSLATE_NOOP("cw::UiText", "ディスクのラベルシートとその寸法"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "プログラムが知っているディスクのラベルシートを JSON で表示します。シートごとに "
                "id、製品名、用紙 (A4 か Letter) とその幅と高さ、ラベルの外径と穴の径、ラベルの"
                "中心 (用紙の左上から、ラベル 1 から順に) です。寸法はすべて mm です。"),
            { kPrinterDpi } },
        { "calibration-sheet", QT_TRANSLATE_NOOP("cw::UiText", "プリンタを測るためのシート"),
            QT_TRANSLATE_NOOP("cw::UiText",
                "用紙の端から決まった距離と中央に十字を描いた横向きの用紙を一枚、指定したプリンタ"
                "か PDF ファイルに印刷します。十字にはそれぞれの距離を mm で添え、用紙はそのプリン"
                "タに記録した補正(または --offset)だけずらします。十字を定規で測ると、入力する補"
                "正がわかります。"),
            { { "--printer NAME", QT_TRANSLATE_NOOP("cw::UiText", "このプリンタに印刷します") },
                { "--pdf F",
                    QT_TRANSLATE_NOOP("cw::UiText", "シートを PDF ファイル F に書き出します") },
                kPaper, kOffset,
                { "--disc",
                    QT_TRANSLATE_NOOP("cw::UiText",
                        "ディスク用のシート: 十字の代わりに、用紙の中央に直径 118mm と 43mm の円と"
                        "中心の十字を描きます。プリンタブルディスクに印刷して、ディスクとの"
                        "ずれを測ります") },
                kPrinterDpi } },
    };
    return texts;
}

const CommandText *textOf(const QString &name)
{
    for (const CommandText &t : commandTexts())
        if (name == QLatin1String(t.name))
            return &t;
    return nullptr;
}

constexpr int kLineWidth = 79;

// Japanese and other wide characters take two columns of a terminal.
bool isWide(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF)
        || (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF)
        || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60)
        || (u >= 0xFFE0 && u <= 0xFFE6);
}

int columns(const QString &text)
{
    int n = 0;
    for (const QChar c : text)
        n += isWide(c) ? 2 : 1;
    return n;
}

// A line does not start with closing punctuation (、。，．）」』】：・), nor end
// with opening punctuation (（「『【).
bool closes(QChar c)
{
    return QStringView(u"\u3001\u3002\uFF0C\uFF0E\uFF09\u300D\u300F\u3011\uFF1A\u30FB)],.:;").contains(c);
}

bool opens(QChar c)
{
    return QStringView(u"\uFF08\u300C\u300E\u3010([").contains(c);
}

struct Piece
{
    QString text;
    bool spaceBefore = false;
};

// The pieces a line may break between: words at spaces, and wide characters
// one by one (Japanese breaks between any two characters).
QList<Piece> pieces(const QString &text)
{
    QList<Piece> out;
    bool space = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ')) {
            space = true;
            continue;
        }
        const QChar previous
            = out.isEmpty() || out.last().text.isEmpty() ? QChar() : out.last().text.back();
        const bool breakHere = out.isEmpty() || space
            || ((isWide(c) || isWide(previous)) && !closes(c) && !opens(previous));
        if (breakHere)
            out.append({ QString(), space });
        out.last().text += c;
        space = false;
    }
    return out;
}

// `text` broken into lines of at most kLineWidth columns (a longer word
// stands alone); the first line follows `first`, every further line starts
// with `indent` spaces.
QString wrapped(const QString &first, const QString &text, int indent)
{
    QString out = first;
    int column = columns(first);
    bool lineEmpty = true;
    for (const Piece &piece : pieces(text)) {
        const int width = columns(piece.text);
        const int gap = piece.spaceBefore && !lineEmpty ? 1 : 0;
        if (!lineEmpty && column + gap + width > kLineWidth) {
            out += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
            lineEmpty = true;
        } else if (gap) {
            out += QLatin1Char(' ');
            ++column;
        }
        out += piece.text;
        column += width;
        lineEmpty = false;
    }
    return out + QLatin1Char('\n');
}

// "  --dpi X[xY]          the resolution": options in a column of their own.
void addOptionLines(QString &out, const QList<OptionHelp> &options)
{
    int width = 0;
    for (const OptionHelp &o : options)
        width = std::max(width, int(qstrlen(o.option)));
    for (const OptionHelp &o : options)
        out += wrapped(QStringLiteral("  %1  ").arg(QString::fromUtf8(o.option), -width),
            uiText(QString::fromUtf8(o.text)), width + 4);
}

QString exitStatusText()
{
    return UiText::tr("終了コード: 0 成功、1 操作の失敗(メッセージは標準エラー出力に)、2 引数の誤り"
                      "(使い方の行は標準エラー出力に)。");
}

} // namespace

QString usageLine(const QString &syntax)
{
    return UiText::tr("使い方: %1").arg(QStringLiteral("casewright-cli ") + syntax);
}

QString versionText()
{
    return QStringLiteral("casewright-cli ") + programVersion() + QLatin1Char('\n');
}

QString programHelp()
{
    // The further forms line up under the first one's program name.
    const QString first = usageLine(QStringLiteral("COMMAND [ARGS]"));
    const QString indent(
        columns(first.left(first.indexOf(QLatin1String("casewright-cli")))), QLatin1Char(' '));
    QString out = first + QLatin1Char('\n') + indent
        + QStringLiteral("casewright-cli COMMAND --help\n") + indent
        + QStringLiteral("casewright-cli --help | --version\n\n")
        + wrapped(QString(),
            UiText::tr(
                "Casewright の文書(*.cwr)をディスプレイなしで読み、変換し、描き、印刷します。"),
            0)
        + QLatin1Char('\n') + UiText::tr("コマンド:") + QLatin1Char('\n');
    int width = 0;
    for (const Command &c : commands())
        width = std::max(width, int(qstrlen(c.name)));
    for (const Command &c : commands()) {
        const CommandText *text = textOf(QString::fromUtf8(c.name));
        out += QStringLiteral("  %1  %2\n")
                   .arg(QString::fromUtf8(c.name), -width)
                   .arg(text ? uiText(QString::fromUtf8(text->summary)) : QString());
    }
    out += QLatin1Char('\n')
        + wrapped(QString(),
            UiText::tr("どのコマンドも --printer-dpi X[xY] (文書が基準とするプリンタの解像度、既定 "
                       "300)を受け付けます。メッセージは標準エラー出力に出ます。"),
            0);
    out += QLatin1Char('\n') + wrapped(QString(), exitStatusText(), 0);
    return out;
}

QString commandHelp(const Command &command)
{
    QString out = usageLine(QString::fromUtf8(command.usage)) + QLatin1Char('\n');
    const CommandText *text = textOf(QString::fromUtf8(command.name));
    QList<OptionHelp> options;
    if (text) {
        out += QLatin1Char('\n')
            + wrapped(QString(), uiText(QString::fromUtf8(text->description)), 0);
        options = text->options;
    } else {
        options = { kPrinterDpi };
    }
    options.append(kHelp);
    out += QLatin1Char('\n') + UiText::tr("オプション:") + QLatin1Char('\n');
    addOptionLines(out, options);
    out += QLatin1Char('\n') + wrapped(QString(), exitStatusText(), 0);
    return out;
}

HelpRequest helpRequest(const QStringList &arguments, const Command **command)
{
    *command = nullptr;
    if (arguments.isEmpty())
        return HelpRequest::None;
    const QString first = arguments.first();
    if (first == QLatin1String("--version"))
        return HelpRequest::Version;
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return HelpRequest::Program;
    const Command *found = findCommand(first);
    if (!found || !arguments.contains(QLatin1String("--help")))
        return HelpRequest::None;
    // Parsed as the command parses its arguments, with --help as one more
    // flag: "--pdf --help" names a file, and "-- --help" a document.
    Command withHelp = *found;
    withHelp.flags.append(QStringLiteral("help"));
    QString problem;
    if (!parseArguments(withHelp, arguments.mid(1), &problem).has(QStringLiteral("help")))
        return HelpRequest::None;
    *command = found;
    return HelpRequest::Command;
}

} // namespace cw::cli
