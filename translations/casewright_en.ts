<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>cw::UiText</name>
    <message>
        <source>メモリが不足しています</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>予期しないエラーが発生しました</source>
        <translation>An unexpected error occurred</translation>
    </message>
    <message>
        <source>Casewright ヘルプ</source>
        <translation>Casewright Help</translation>
    </message>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>進む</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>タイトル設定</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>表と同じ</source>
        <translation>Same as front</translation>
    </message>
    <message>
        <source>背表紙(左)と同じ</source>
        <translation>Same as left spine</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>タイトル位置</source>
        <translation>Title position</translation>
    </message>
    <message>
        <source>上</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>中央</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>任意</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>任意位置設定</source>
        <translation>Custom position</translation>
    </message>
    <message>
        <source>横</source>
        <translation>X</translation>
    </message>
    <message>
        <source>縦</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>任意位置設定 横</source>
        <translation>Custom position X</translation>
    </message>
    <message>
        <source>任意位置設定 縦</source>
        <translation>Custom position Y</translation>
    </message>
    <message>
        <source>印刷位置オフセット</source>
        <translation>Position offset</translation>
    </message>
    <message>
        <source>背文字の向き</source>
        <translation>Spine text direction</translation>
    </message>
    <message>
        <source>上から下</source>
        <translation>Top to bottom</translation>
    </message>
    <message>
        <source>下から上</source>
        <translation>Bottom to top</translation>
    </message>
    <message>
        <source>リスト・任意印刷</source>
        <translation>Track list and free print</translation>
    </message>
    <message>
        <source>リスト</source>
        <translation>Track list</translation>
    </message>
    <message>
        <source>リスト編集</source>
        <translation>Edit list</translation>
    </message>
    <message>
        <source>任意印刷(前面)</source>
        <translation>Free print (front)</translation>
    </message>
    <message>
        <source>印刷項目編集</source>
        <translation>Edit items</translation>
    </message>
    <message>
        <source>任意印刷(背面)</source>
        <translation>Free print (inside)</translation>
    </message>
    <message>
        <source>任意印刷</source>
        <translation>Free print</translation>
    </message>
    <message>
        <source>印刷ページ</source>
        <translation>Pages to print</translation>
    </message>
    <message>
        <source>表レーベルを印刷</source>
        <translation>Print front label</translation>
    </message>
    <message>
        <source>裏レーベルを印刷</source>
        <translation>Print back label</translation>
    </message>
    <message>
        <source>枠線印刷</source>
        <translation>Frame lines</translation>
    </message>
    <message>
        <source>境界線印刷</source>
        <translation>Print border lines</translation>
    </message>
    <message>
        <source>折線印刷</source>
        <translation>Print fold lines</translation>
    </message>
    <message>
        <source>背表紙印刷</source>
        <translation>Spine printing</translation>
    </message>
    <message>
        <source>背表紙同方向印刷</source>
        <translation>Print both spines the same way</translation>
    </message>
    <message>
        <source>背景色設定</source>
        <translation>Background colors</translation>
    </message>
    <message>
        <source>表レーベル(表)</source>
        <translation>Front label (outside)</translation>
    </message>
    <message>
        <source>表レーベル(裏)</source>
        <translation>Front label (inside)</translation>
    </message>
    <message>
        <source>裏レーベル</source>
        <translation>Back label</translation>
    </message>
    <message>
        <source>背表紙(左)</source>
        <translation>Spine (left)</translation>
    </message>
    <message>
        <source>背表紙(右)</source>
        <translation>Spine (right)</translation>
    </message>
    <message>
        <source>プリンタ情報</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>解像度</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>表レーベル</source>
        <translation>Front label</translation>
    </message>
    <message>
        <source>背表紙</source>
        <translation>Spine</translation>
    </message>
    <message>
        <source>ﾋﾟｸｾﾙ</source>
        <translation>pixels</translation>
    </message>
    <message>
        <source>画像</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>ファイル選択</source>
        <translation>Choose file</translation>
    </message>
    <message>
        <source>画像情報</source>
        <translation>Picture information</translation>
    </message>
    <message>
        <source>画像ｻｲｽﾞ</source>
        <translation>Picture size</translation>
    </message>
    <message>
        <source>印刷ｻｲｽﾞ</source>
        <translation>Print size</translation>
    </message>
    <message>
        <source>印刷設定</source>
        <translation>Print settings</translation>
    </message>
    <message>
        <source>印刷位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>画像サイズ調整</source>
        <translation>Picture sizing</translation>
    </message>
    <message>
        <source>幅合わせ</source>
        <translation>Fit width</translation>
    </message>
    <message>
        <source>高さ合わせ</source>
        <translation>Fit height</translation>
    </message>
    <message>
        <source>カスタム</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>印刷位置調整</source>
        <translation>Picture alignment</translation>
    </message>
    <message>
        <source>左寄せ</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>横ｾﾝﾀﾘﾝｸﾞ</source>
        <translation>Center horizontally</translation>
    </message>
    <message>
        <source>右寄せ</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>上寄せ</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>縦ｾﾝﾀﾘﾝｸﾞ</source>
        <translation>Center vertically</translation>
    </message>
    <message>
        <source>下寄せ</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>縦横比固定</source>
        <translation>Keep aspect ratio</translation>
    </message>
    <message>
        <source>用紙情報</source>
        <translation>Paper</translation>
    </message>
    <message>
        <source>画像ｻｲｽﾞ 幅</source>
        <translation>Picture size width</translation>
    </message>
    <message>
        <source>画像ｻｲｽﾞ 高さ</source>
        <translation>Picture size height</translation>
    </message>
    <message>
        <source>印刷位置 横</source>
        <translation>Print position X</translation>
    </message>
    <message>
        <source>印刷位置 縦</source>
        <translation>Print position Y</translation>
    </message>
    <message>
        <source>印刷位置補正</source>
        <translation>Print position correction</translation>
    </message>
    <message>
        <source>補正用シート印刷</source>
        <translation>Print calibration sheet</translation>
    </message>
    <message>
        <source>塗り足し</source>
        <translation>Bleed</translation>
    </message>
    <message>
        <source>設定(%1)が記録できません</source>
        <translation>The settings (%1) cannot be saved</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>%1年%2月 リリース</source>
        <translation>Released %2/%1</translation>
    </message>
    <message>
        <source>Casewright Data(*.CWR)|*.cwr|すべてのファイル(*.*)|*.*</source>
        <translation>Casewright Data(*.CWR)|*.cwr|All files(*.*)|*.*</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>プリンタ設定</source>
        <translation>Printer setup</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>元に戻す: %1</source>
        <translation>Undo: %1</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し: %1</source>
        <translation>Redo: %1</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前をつけて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>印刷所用PDF出力...</source>
        <translation>Export PDF for print shop...</translation>
    </message>
    <message>
        <source>PDF ファイル(*.pdf)|*.pdf</source>
        <translation>PDF file (*.pdf)|*.pdf</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>目次(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>現在のデータが消えますがよろしいですか？</source>
        <translation>The current data will be lost. Continue?</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>終了してよろしいですか？</source>
        <translation>Do you want to quit?</translation>
    </message>
    <message>
        <source>変更を保存しますか？</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>終了確認</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>%1(%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>プリンタエラーが発生しました
プリンタを300dpi×300dpiと仮定します</source>
        <translation>A printer error occurred.
The printer is taken to be 300 dpi × 300 dpi.</translation>
    </message>
    <message>
        <source>ファイル(%1)が記録できません</source>
        <translation>The file (%1) cannot be written</translation>
    </message>
    <message>
        <source>出力が書き込めません</source>
        <translation>The output cannot be written</translation>
    </message>
    <message>
        <source>プリンタがありません(--pdf でファイルに出力できます)</source>
        <translation>There is no printer (--pdf writes to a file)</translation>
    </message>
    <message>
        <source>プリンタ(%1)が見つかりません</source>
        <translation>The printer (%1) cannot be found</translation>
    </message>
    <message>
        <source>ファイル(%1)はテンプレートとして読めません</source>
        <translation>The file (%1) cannot be read as a template</translation>
    </message>
    <message>
        <source>タイトルにも使いますか？</source>
        <translation>Use them for the titles too?</translation>
    </message>
    <message>
        <source>タイトル 表と同じ</source>
        <translation>Title same as front</translation>
    </message>
    <message>
        <source>タイトル 背表紙(左)と同じ</source>
        <translation>Title same as left spine</translation>
    </message>
    <message>
        <source>データロード中です</source>
        <translation>Loading data</translation>
    </message>
    <message>
        <source>画像 表と同じ</source>
        <translation>Picture same as front</translation>
    </message>
    <message>
        <source>画像 背表紙(左)と同じ</source>
        <translation>Picture same as left spine</translation>
    </message>
    <message>
        <source>ファイル(%1)はデータファイルではありません</source>
        <translation>The file (%1) is not a data file</translation>
    </message>
    <message>
        <source>ファイル(%1)のバージョンが違います</source>
        <translation>The file (%1) is of another version</translation>
    </message>
    <message>
        <source>ファイル(%1)が異常です</source>
        <translation>The file (%1) is damaged</translation>
    </message>
    <message>
        <source>ケースの種類</source>
        <translation>Case type</translation>
    </message>
    <message>
        <source>ケースの種類の変更</source>
        <translation>Change case type</translation>
    </message>
    <message>
        <source>ファイル(%1)のケースの種類(%2)はこのプログラムでは扱えません</source>
        <translation>The file (%1) is for a case type (%2) that this program does not know</translation>
    </message>
    <message>
        <source>セーブデータロード中</source>
        <translation>Loading saved data</translation>
    </message>
    <message>
        <source>ファイル(%1)がオープンできません</source>
        <translation>The file (%1) cannot be opened</translation>
    </message>
    <message>
        <source>%1 テキスト</source>
        <translation>%1 text</translation>
    </message>
    <message>
        <source>%1 フォント名</source>
        <translation>%1 font name</translation>
    </message>
    <message>
        <source>%1 ファイル名</source>
        <translation>%1 file name</translation>
    </message>
    <message>
        <source>%1 %2番目の項目</source>
        <translation>%1 item %2</translation>
    </message>
    <message>
        <source>リスト %1行目 %2列目</source>
        <translation>Track list row %1 column %2</translation>
    </message>
    <message>
        <source>%1 タイトル</source>
        <translation>%1 title</translation>
    </message>
    <message>
        <source>%1 タイトルのフォント名</source>
        <translation>%1 title font name</translation>
    </message>
    <message>
        <source>%1 画像ファイル名</source>
        <translation>%1 picture file name</translation>
    </message>
    <message>
        <source>この文書にはShift-JISで保存できない文字があります。新しい形式(1.07)で保存しますか？</source>
        <translation>This document has characters that Shift-JIS cannot hold. Save it in the new format (1.07)?</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は -10.0 から 10.0 までの数値(mm、小数1桁)ではありません</source>
        <translation>&apos;%1&apos; is not a number from -10.0 to 10.0 (mm, one decimal)</translation>
    </message>
    <message>
        <source>PDFファイル</source>
        <translation>PDF file</translation>
    </message>
    <message>
        <source>欧文</source>
        <translation>Western</translation>
    </message>
    <message>
        <source>ﾃﾞﾌｫﾙﾄ</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>ｼﾝﾎﾞﾙ</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>ﾊﾝｸﾞﾙ (統合)</source>
        <translation>Hangul (Unified)</translation>
    </message>
    <message>
        <source>ﾊﾝｸﾞﾙ (組合)</source>
        <translation>Hangul (Johab)</translation>
    </message>
    <message>
        <source>ｷﾞﾘｼｱ</source>
        <translation>Greek</translation>
    </message>
    <message>
        <source>ﾄﾙｺ</source>
        <translation>Turkish</translation>
    </message>
    <message>
        <source>ﾍﾞﾄﾅﾑ</source>
        <translation>Vietnamese</translation>
    </message>
    <message>
        <source>ﾍﾌﾞﾗｲ</source>
        <translation>Hebrew</translation>
    </message>
    <message>
        <source>ｱﾗﾋﾞｱ</source>
        <translation>Arabic</translation>
    </message>
    <message>
        <source>ﾊﾞﾙﾄ</source>
        <translation>Baltic</translation>
    </message>
    <message>
        <source>ｷﾘﾙ</source>
        <translation>Cyrillic</translation>
    </message>
    <message>
        <source>ﾀｲ</source>
        <translation>Thai</translation>
    </message>
    <message>
        <source>中央ﾖｰﾛｯﾊﾟ</source>
        <translation>Central European</translation>
    </message>
    <message>
        <source>黒</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>茶</source>
        <translation>Maroon</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>ｵﾘｰﾌﾞ</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>紺</source>
        <translation>Navy</translation>
    </message>
    <message>
        <source>紫</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>青緑</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>灰色</source>
        <translation>Gray</translation>
    </message>
    <message>
        <source>銀色</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>黄緑</source>
        <translation>Lime</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>赤紫</source>
        <translation>Fuchsia</translation>
    </message>
    <message>
        <source>水色</source>
        <translation>Aqua</translation>
    </message>
    <message>
        <source>白</source>
        <translation>White</translation>
    </message>
    <message>
        <source>ｶｽﾀﾑ</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>一括フォント変更</source>
        <translation>Change fonts</translation>
    </message>
    <message>
        <source>フォント変更</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>サイズ変更</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>色変更</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>スタイル変更</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>文字飾り変更</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>ﾃﾞﾌｫﾙﾄﾌｫﾝﾄに適用</source>
        <translation>Default font too</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄの指定</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄ名(&amp;F):</source>
        <translation>&amp;Font:</translation>
    </message>
    <message>
        <source>ｽﾀｲﾙ(&amp;Y):</source>
        <translation>St&amp;yle:</translation>
    </message>
    <message>
        <source>ｻｲｽﾞ(&amp;S):</source>
        <translation>&amp;Size:</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>文字飾り</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>取り消し線(&amp;K)</source>
        <translation>Stri&amp;keout</translation>
    </message>
    <message>
        <source>下線(&amp;U)</source>
        <translation>&amp;Underline</translation>
    </message>
    <message>
        <source>色(&amp;C):</source>
        <translation>&amp;Color:</translation>
    </message>
    <message>
        <source>ﾌﾟﾚﾋﾞｭｰ(&amp;P)</source>
        <translation>&amp;Preview</translation>
    </message>
    <message>
        <source>書体の種類(&amp;R):</source>
        <translation>Sc&amp;ript:</translation>
    </message>
    <message>
        <source>画像:</source>
        <translation>Picture:</translation>
    </message>
    <message>
        <source>ファイル(%1)がありません</source>
        <translation>The file (%1) does not exist</translation>
    </message>
    <message>
        <source>ファイル(%1)は利用できない画像形式です(Pluginがありません)</source>
        <translation>The file (%1) is in a picture format that cannot be read (no plug-in)</translation>
    </message>
    <message>
        <source>ファイル(%1)は画像が大きすぎて読み込めません</source>
        <translation>The file (%1) cannot be read: the picture is too large</translation>
    </message>
    <message>
        <source>ファイル(%1)は壊れているため読み込めません</source>
        <translation>The file (%1) cannot be read: it is damaged</translation>
    </message>
    <message>
        <source>すべてのファイル(*.*)</source>
        <translation>All files(*.*)</translation>
    </message>
    <message>
        <source>(なし)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>透明色</source>
        <translation>Transparent color</translation>
    </message>
    <message>
        <source>取込</source>
        <translation>Pick</translation>
    </message>
    <message>
        <source>任意印刷(裏レーベル)</source>
        <translation>Free print (back label)</translation>
    </message>
    <message>
        <source>任意印刷(ディスク)</source>
        <translation>Free print (disc)</translation>
    </message>
    <message>
        <source>新規</source>
        <translation>New</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>上へ</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下へ</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Content</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄ角</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>色取込</source>
        <translation>Pick color</translation>
    </message>
    <message>
        <source>グラフィックが指定されていません</source>
        <translation>No graphic has been chosen</translation>
    </message>
    <message>
        <source>テキスト</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>グラフィック</source>
        <translation>Graphic</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>印刷サイズ</source>
        <translation>Print size</translation>
    </message>
    <message>
        <source>印刷項目</source>
        <translation>Print items</translation>
    </message>
    <message>
        <source>ﾃﾞﾌｫﾙﾄﾌｫﾝﾄ</source>
        <translation>Default font</translation>
    </message>
    <message>
        <source>度</source>
        <translation>degrees</translation>
    </message>
    <message>
        <source>色選択</source>
        <translation>Choose color</translation>
    </message>
    <message>
        <source>項目編集</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>左端から%1</source>
        <translation>%1 from left</translation>
    </message>
    <message>
        <source>上端から%1</source>
        <translation>%1 from top</translation>
    </message>
    <message>
        <source>右端から%1</source>
        <translation>%1 from right</translation>
    </message>
    <message>
        <source>下端から%1</source>
        <translation>%1 from bottom</translation>
    </message>
    <message>
        <source>%1・%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>定規で用紙の端から各十字の中心までを測り、「横」に(左の記載値−実測値)を、「縦」に(上の記載値−実測値)を加えてください</source>
        <translation>Measure from the paper edges to the center of each cross with a ruler; add (printed value − measured value) on the left to &quot;X&quot; and on the top to &quot;Y&quot;</translation>
    </message>
    <message>
        <source>%1&#x3000;適用中の補正: 横 %2mm&#x3000;縦 %3mm</source>
        <translation>%1  Correction in use: X %2mm  Y %3mm</translation>
    </message>
    <message>
        <source>印刷に失敗しました</source>
        <translation>Printing failed</translation>
    </message>
    <message>
        <source>印刷位置オフセット %1mm</source>
        <translation>Position offset %1mm</translation>
    </message>
    <message>
        <source>横 %1%3 縦 %2%3</source>
        <translation>X %1%3 Y %2%3</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>幅 %1px 高さ %2px</source>
        <translation>Width %1px height %2px</translation>
    </message>
    <message>
        <source>幅 %1mm 高さ %2mm</source>
        <translation>Width %1 mm height %2 mm</translation>
    </message>
    <message>
        <source>プリンタ異常のため印刷できません</source>
        <translation>Cannot print: the printer has failed</translation>
    </message>
    <message>
        <source>印刷するページがありません</source>
        <translation>There is no page to print</translation>
    </message>
    <message>
        <source>%1がトンボを含めて用紙に収まりません。印刷できる範囲が横%2×縦%3以上の用紙(A4横など)を選んでください(この用紙は横%4×縦%5)</source>
        <translation>%1: with its trim marks it does not fit the paper. Choose paper whose printable area is at least %2 wide and %3 high (such as A4 landscape); this paper&apos;s is %4 by %5.</translation>
    </message>
    <message>
        <source>プリンタ異常のため設定できません</source>
        <translation>Cannot set up: the printer has failed</translation>
    </message>
    <message>
        <source>印刷中です(%1/%2)</source>
        <translation>Printing (%1/%2)</translation>
    </message>
    <message>
        <source>印刷を開始できません</source>
        <translation>Printing cannot start</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>「%1」(%2文字目)</source>
        <translation>&quot;%1&quot; (character %2)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1行目</source>
        <translation>line %1</translation>
    </message>
    <message>
        <source>%1: 保存できない文字があります %2</source>
        <translation>%1: has characters that cannot be saved %2</translation>
    </message>
    <message>
        <source>%1: 長すぎます(%2バイト、最大%3バイト)</source>
        <translation>%1: too long (%2 bytes, at most %3 bytes)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は正しい整数値ではありません</source>
        <translation>&apos;%1&apos; is not a valid whole number</translation>
    </message>
    <message>
        <source>Shift-JISで保存できない文字</source>
        <translation>Characters that Shift-JIS cannot hold</translation>
    </message>
    <message>
        <source>Shift-JISで保存できない文字があります: %1
保存するときに新しい形式(1.07)で保存するかどうかを確認します</source>
        <translation>Has characters that Shift-JIS cannot hold: %1
Saving asks whether to use the new format (1.07)</translation>
    </message>
    <message>
        <source>
ほか%1件</source>
        <translation>
and %1 more</translation>
    </message>
    <message>
        <source>キューシート(*.cue)|*.CUE|音声ファイル(*.flac *.mp3 *.ogg *.opus *.m4a *.wav)|*.FLAC;*.MP3;*.OGG;*.OPUS;*.M4A;*.WAV</source>
        <translation>Cue sheets(*.cue)|*.CUE|Audio files(*.flac *.mp3 *.ogg *.opus *.m4a *.wav)|*.FLAC;*.MP3;*.OGG;*.OPUS;*.M4A;*.WAV</translation>
    </message>
    <message>
        <source>ファイル(%1)はキューシートではありません</source>
        <translation>The file (%1) is not a cue sheet</translation>
    </message>
    <message>
        <source>ファイル(%1)には音声トラックがありません</source>
        <translation>The file (%1) has no audio tracks</translation>
    </message>
    <message>
        <source>音声ファイルとして読めるファイルがありません</source>
        <translation>None of the files can be read as audio</translation>
    </message>
    <message>
        <source>次のファイルは音声ファイルとして読めないため飛ばしました</source>
        <translation>These files could not be read as audio and were skipped</translation>
    </message>
    <message>
        <source>フォルダ(%1)がオープンできません</source>
        <translation>The folder (%1) cannot be opened</translation>
    </message>
    <message>
        <source>フォルダ(%1)には音声ファイルがありません</source>
        <translation>The folder (%1) has no audio files</translation>
    </message>
    <message>
        <source>行の選択</source>
        <translation>Row selection</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾄ</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>リスト内容</source>
        <translation>Row kind</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾄ%1内容</source>
        <translation>Column %1 text</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾄ%1文字位置</source>
        <translation>Column %1 alignment</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄ一括変更</source>
        <translation>Change fonts</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>内容1</source>
        <translation>Text 1</translation>
    </message>
    <message>
        <source>位置1</source>
        <translation>Align 1</translation>
    </message>
    <message>
        <source>内容2</source>
        <translation>Text 2</translation>
    </message>
    <message>
        <source>位置2</source>
        <translation>Align 2</translation>
    </message>
    <message>
        <source>内容3</source>
        <translation>Text 3</translation>
    </message>
    <message>
        <source>位置3</source>
        <translation>Align 3</translation>
    </message>
    <message>
        <source>する</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>しない</source>
        <translation>No</translation>
    </message>
    <message>
        <source>ファイル(%1)が読み込めません</source>
        <translation>The file (%1) cannot be read</translation>
    </message>
    <message>
        <source>ファイル(%1)の%2行目に%3として読めない文字があります</source>
        <translation>Line %2 of the file (%1) has characters that cannot be read as %3</translation>
    </message>
    <message>
        <source>(最大 %1)</source>
        <translation>(max %1)</translation>
    </message>
    <message>
        <source>値が範囲外です(%1)</source>
        <translation>Value out of range (%1)</translation>
    </message>
    <message>
        <source>面の番号が正しくありません(%1)</source>
        <translation>Wrong surface number (%1)</translation>
    </message>
    <message>
        <source>テンプレート名</source>
        <translation>Template name</translation>
    </message>
    <message>
        <source>このフォルダに保存したテンプレートは読み込まれません。テンプレートは次のフォルダに保存してください
</source>
        <translation>Templates saved in this folder are not read. Save templates in this folder:
</translation>
    </message>
    <message>
        <source>これ以上テンプレートを追加できません</source>
        <translation>No more templates can be added</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾄ数</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>１</source>
        <translation>1</translation>
    </message>
    <message>
        <source>２</source>
        <translation>2</translation>
    </message>
    <message>
        <source>３</source>
        <translation>3</translation>
    </message>
    <message>
        <source>印刷位置横</source>
        <translation>Position X</translation>
    </message>
    <message>
        <source>印刷位置縦</source>
        <translation>Position Y</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾀ1幅</source>
        <translation>Column 1 width</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾀ2幅</source>
        <translation>Column 2 width</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾀ3幅</source>
        <translation>Column 3 width</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾀ1-2間隔</source>
        <translation>Gap 1-2</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾀ2-3間隔</source>
        <translation>Gap 2-3</translation>
    </message>
    <message>
        <source>リスト行間隔</source>
        <translation>Line spacing</translation>
    </message>
    <message>
        <source>テンプレート</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>セーブ</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>ﾘｽﾄ印刷可能幅</source>
        <translation>Printable width</translation>
    </message>
    <message>
        <source>ﾘｽﾄ印刷可能高</source>
        <translation>Printable height</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾀ1印刷位置</source>
        <translation>Column 1 position</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾀ2印刷位置</source>
        <translation>Column 2 position</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾀ3印刷位置</source>
        <translation>Column 3 position</translation>
    </message>
    <message>
        <source>増やす</source>
        <translation>Increase</translation>
    </message>
    <message>
        <source>減らす</source>
        <translation>Decrease</translation>
    </message>
    <message>
        <source>ﾘｽﾄ位置設定</source>
        <translation>List layout</translation>
    </message>
    <message>
        <source>読み込み可能ファイル(*.txt,*.csv)|*.TXT;*.CSV|テキストファイル(*.txt)|*.TXT|CSVファイル(*.csv)|*.CSV|全てのファイル(*.*)|*.*</source>
        <translation>Readable files(*.txt,*.csv)|*.TXT;*.CSV|Text files(*.txt)|*.TXT|CSV files(*.csv)|*.CSV|All files(*.*)|*.*</translation>
    </message>
    <message>
        <source>文章</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>ｾﾊﾟﾚｰﾀ</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>リスト項目編集</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>ディスプレイがないためウィンドウを開けません(casewright-cli はディスプレイなしで使えます)</source>
        <translation>There is no display to open the window on (casewright-cli works without one)</translation>
    </message>
    <message>
        <source>CD ジュエルケースのジャケットをデザインし印刷します</source>
        <translation>CD jewel-case label designer</translation>
    </message>
    <message>
        <source>このヘルプを表示する。</source>
        <translation>Displays this help.</translation>
    </message>
    <message>
        <source>ファイル.cwr</source>
        <translation>FILE.cwr</translation>
    </message>
    <message>
        <source>開く文書(*.cwr)。</source>
        <translation>A document to open (*.cwr).</translation>
    </message>
    <message>
        <source>標準出力に書き込めません</source>
        <translation>standard output cannot be written</translation>
    </message>
    <message>
        <source>--printer と --pdf のどちらか一つを指定してください</source>
        <translation>one of --printer and --pdf expected</translation>
    </message>
    <message>
        <source>文書が基準とするプリンタの解像度(既定 300)</source>
        <translation>the printer resolution the document refers to (default 300)</translation>
    </message>
    <message>
        <source>この実行に限り印刷設定を一つ変えます(AreaLinePrint, CutLinePrint, SideTitleSameTop, TopLabelPrint, BottomLabelPrint, InsidePrint, DiscLabelPrint)。繰り返して指定できます</source>
        <translation>override one print setting for this run (AreaLinePrint, CutLinePrint, SideTitleSameTop, TopLabelPrint, BottomLabelPrint, InsidePrint, DiscLabelPrint); may be repeated</translation>
    </message>
    <message>
        <source>このヘルプを表示して終了します</source>
        <translation>show this help and exit</translation>
    </message>
    <message>
        <source>プリンタに記録した補正の代わりに、用紙全体を右へ X mm、下へ Y mm ずらします(小数一桁、-10.0〜10.0)</source>
        <translation>move every sheet by X mm right and Y mm down (one decimal, -10.0 to 10.0) instead of the correction stored for the printer</translation>
    </message>
    <message>
        <source>記録した塗り足しの代わりに、背景と画像を外側の裁ち線から N mm (0〜3) 延ばします</source>
        <translation>continue backgrounds and pictures N mm (0 to 3) past the outer trim edges instead of the stored bleed</translation>
    </message>
    <message>
        <source>プログラムのデコーダモジュールの代わりに DIR のモジュールを読みます</source>
        <translation>read the decoder modules of DIR instead of the program&apos;s own</translation>
    </message>
    <message>
        <source>ある解像度でのページの寸法</source>
        <translation>page geometry at a resolution</translation>
    </message>
    <message>
        <source>ある解像度でのページの寸法を「キー 値」の行で一つずつ表示します。縮尺、各面のピクセル数、表ページと裏ページの枠です。</source>
        <translation>Prints the page geometry at a resolution, one &quot;key value&quot; line each: the scale, the surfaces&apos; sizes in pixels and the frames of the front and back pages.</translation>
    </message>
    <message>
        <source>解像度(既定 96)</source>
        <translation>the resolution (default 96)</translation>
    </message>
    <message>
        <source>ページのピクセル数(既定 1046x604、プレビューのページ)</source>
        <translation>the page in pixels (default 1046x604, the preview page)</translation>
    </message>
    <message>
        <source>文書を JSON で表示</source>
        <translation>the document as JSON</translation>
    </message>
    <message>
        <source>文書を読み、ファイルの版(fileVersion)と文字コード(fileEncoding)を添えて JSON で表示します。ケースの種類の id は format です。</source>
        <translation>Reads a document and prints it as JSON, with its file version (fileVersion) and encoding (fileEncoding). The id of its case type is format.</translation>
    </message>
    <message>
        <source>文書を読んで書き出す</source>
        <translation>read and write a document</translation>
    </message>
    <message>
        <source>文書 IN.cwr を読み、OUT.cwr として書き出します(版 1.06、Shift-JIS)。Shift-JIS で表せない文字を含む文書は、許可したときだけ版 1.07 (UTF-8) で書き出し、許可のないときは何も書きません。ジュエルケース以外のケースの文書は版 1.08 (UTF-8) です。</source>
        <translation>Reads the document IN.cwr and writes it as OUT.cwr (version 1.06 in Shift-JIS). A document whose text Shift-JIS cannot hold is written as version 1.07 in UTF-8 only when allowed; otherwise nothing is written. A document of any case but the jewel case is version 1.08 in UTF-8.</translation>
    </message>
    <message>
        <source>文書をこのケースの種類 (formats が示す id) にして書き出します。置いたものはその面の左上からの位置を保ちます</source>
        <translation>writes the document for this case type (an id that formats lists); what is placed keeps its position from its panel&apos;s top-left corner</translation>
    </message>
    <message>
        <source>Shift-JIS で表せない文字があるときは版 1.07 (UTF-8) で書き出します</source>
        <translation>write version 1.07 in UTF-8 when Shift-JIS cannot hold the text</translation>
    </message>
    <message>
        <source>リストの読み込みで作られる行</source>
        <translation>rows a list import makes</translation>
    </message>
    <message>
        <source>リストの読み込みで作られる行を JSON で表示します。読み込むのはタブ区切りか CSV のテキスト FILE、キューシート、音声ファイルのフォルダ、または音声ファイルです。</source>
        <translation>Prints, as JSON, the track-list rows an import makes: of a tab-separated or CSV text FILE, of a cue sheet, of a folder of audio files, or of audio files.</translation>
    </message>
    <message>
        <source>リストの列数、1〜3 (既定 3)</source>
        <translation>the columns of the list, 1 to 3 (default 3)</translation>
    </message>
    <message>
        <source>リストのレイアウトのテンプレート</source>
        <translation>a list layout template</translation>
    </message>
    <message>
        <source>リストのレイアウトのテンプレート(*.cwt)を読み、その面、名前、レイアウトを JSON で表示します。テンプレートでないファイルは終了コード 1 です。</source>
        <translation>Reads a list layout template (*.cwt) and prints its surface, name and layout as JSON; status 1 when the file is no template.</translation>
    </message>
    <message>
        <source>画像のファイルの種類</source>
        <translation>the picture filter</translation>
    </message>
    <message>
        <source>画像を開くダイアログのファイルの種類を表示します。プログラムの BMP デコーダと各デコーダモジュールが読める形式です。</source>
        <translation>Prints the picture filter of the open dialog: the formats of the program&apos;s BMP decoder and of every decoder module.</translation>
    </message>
    <message>
        <source>画像を読み込む</source>
        <translation>decode a picture</translation>
    </message>
    <message>
        <source>プログラムと同じように画像を読み込み(BMP は直接、その他の形式はデコーダモジュールで)、大きさを WxH で表示します。</source>
        <translation>Loads a picture as the program does (BMP directly, other formats through the decoder modules) and prints its size as WxH.</translation>
    </message>
    <message>
        <source>画像を PNG ファイルにも書き出します</source>
        <translation>also write the picture as a PNG file</translation>
    </message>
    <message>
        <source>文書の一ページを描く</source>
        <translation>one page of a document</translation>
    </message>
    <message>
        <source>文書の一ページを描きます。--size がなければ文書のケースのプレビューのページ (ジュエルケースは 277.0 x 160.0 mm) を --dpi で描き、PNG ファイル、PDF ファイル、または描画呼び出しの一覧にします。--png、--pdf、--ops のどれか一つを指定します。</source>
        <translation>Draws one page of a document: the preview page of the document&apos;s case (277.0 x 160.0 mm for the jewel case) at --dpi unless --size says otherwise, into a PNG file, a PDF file, or as the list of drawing calls. Exactly one of --png, --pdf and --ops is given.</translation>
    </message>
    <message>
        <source>描くページ: 文書のケースのシートの id (ジュエルケースは front と back、formats が示します)、ディスクの面 disc、または表レーベルの K ページ目だけの page-K (page-1 は表紙)</source>
        <translation>the page to draw: the id of a sheet of the document&apos;s case (front and back for the jewel case; formats lists them), disc for the disc face, or page-K for page K of the front insert alone (page-1 is the cover)</translation>
    </message>
    <message>
        <source>ページの解像度(既定 96)</source>
        <translation>the resolution of the page (default 96)</translation>
    </message>
    <message>
        <source>プレビューのページの代わりに、このピクセル数のページ</source>
        <translation>the page in pixels instead of the preview page</translation>
    </message>
    <message>
        <source>ページを PNG ファイルに書き出します</source>
        <translation>write the page as a PNG file</translation>
    </message>
    <message>
        <source>ページを PDF ファイルに書き出します</source>
        <translation>write the page as a PDF file</translation>
    </message>
    <message>
        <source>描画呼び出しを一行に一つずつ表示します</source>
        <translation>print the drawing calls, one line each</translation>
    </message>
    <message>
        <source>文書を印刷する</source>
        <translation>print a document</translation>
    </message>
    <message>
        <source>印刷設定(TopLabelPrint, BottomLabelPrint, InsidePrint, DiscLabelPrint)が選ぶページを、ダイアログなしで一つのジョブとして印刷します。印刷先は既定のプリンタ、指定したプリンタ、または --printer-dpi のプリンタ向けに作る一つの PDF ファイル(画像も含みます)です。プリンタへの印刷ではプログラムのモジュールのフォルダから casewright-printing.so を読み込み、そのプリンタ自身の解像度で文書を配置します。</source>
        <translation>Prints the pages the print settings choose (TopLabelPrint, BottomLabelPrint, InsidePrint, DiscLabelPrint) as one job, without a dialog: on the default printer, on the printer named, or into one PDF file made for a printer of --printer-dpi, pictures included. Printing to a printer loads casewright-printing.so from the program&apos;s module folder and lays the document out at that printer&apos;s own resolution.</translation>
    </message>
    <message>
        <source>既定のプリンタの代わりにこのプリンタに印刷します</source>
        <translation>print on this printer instead of the default one</translation>
    </message>
    <message>
        <source>印刷せずに、ページを PDF ファイル F に書き出します</source>
        <translation>write the pages into the PDF file F instead of printing</translation>
    </message>
    <message>
        <source>ケースの全ページを A4 横で</source>
        <translation>every page of the case, A4 landscape</translation>
    </message>
    <message>
        <source>文書のケースの全ページ(ジュエルケースは両ページ)を A4 横の用紙の一つの PDF ファイルに書き出し、そのファイル名を表示します。</source>
        <translation>Writes every page of a document&apos;s case (both pages for the jewel case) into one PDF file of A4 landscape sheets and prints the file&apos;s name.</translation>
    </message>
    <message>
        <source>ケースの種類とその寸法</source>
        <translation>the case types and their sizes</translation>
    </message>
    <message>
        <source>プログラムが作るケースの種類を JSON で表示します。種類ごとに id、名前、シート、シートごとにその面の id、役割、位置と大きさ (mm) です。寸法を文書が決めるカスタムケースは custom が true で、寸法はその既定です。</source>
        <translation>Prints the case types the program makes as JSON: for each its id, name and sheets, and for each sheet the id, role, position and size (mm) of its panels. A custom case, whose sizes each document gives, has custom true, and its sizes are the defaults.</translation>
    </message>
    <message>
        <source>ページを配置する解像度(既定 300)</source>
        <translation>the resolution the pages are laid out at (default 300)</translation>
    </message>
    <message>
        <source>印刷所用: シートごとに、仕上がりと四方の塗り足しとトンボが入る大きさのページに置き、TrimBox (仕上がり) と BleedBox (塗り足し) を設定します。--offset とは一緒に使えません</source>
        <translation>for a print shop: each sheet on a page that holds its trim, the bleed on every side and the trim marks, with the TrimBox (trim) and BleedBox (bleed) set. Not with --offset</translation>
    </message>
    <message>
        <source>--press と --offset は一緒に指定できません</source>
        <translation>--press and --offset cannot be given together</translation>
    </message>
    <message>
        <source>プリンタを測るためのシート</source>
        <translation>the sheet to measure a printer with</translation>
    </message>
    <message>
        <source>用紙の端から決まった距離と中央に十字を描いた横向きの用紙を一枚、指定したプリンタか PDF ファイルに印刷します。十字にはそれぞれの距離を mm で添え、用紙はそのプリンタに記録した補正(または --offset)だけずらします。十字を定規で測ると、入力する補正がわかります。</source>
        <translation>Prints one landscape sheet with crosses at stated distances from the sheet&apos;s edges and at its center, each labeled with its distance in millimeters, on the printer named or into a PDF file, moved by the printer&apos;s stored correction (or --offset). Measuring the crosses with a ruler gives the correction to enter.</translation>
    </message>
    <message>
        <source>このプリンタに印刷します</source>
        <translation>print on this printer</translation>
    </message>
    <message>
        <source>シートを PDF ファイル F に書き出します</source>
        <translation>write the sheet into the PDF file F</translation>
    </message>
    <message>
        <source>終了コード: 0 成功、1 操作の失敗(メッセージは標準エラー出力に)、2 引数の誤り(使い方の行は標準エラー出力に)。</source>
        <translation>Exit status: 0 success, 1 a failed operation (the message on standard error), 2 bad arguments (a usage line on standard error).</translation>
    </message>
    <message>
        <source>使い方: %1</source>
        <translation>usage: %1</translation>
    </message>
    <message>
        <source>Casewright の文書(*.cwr)をディスプレイなしで読み、変換し、描き、印刷します。</source>
        <translation>Reads, converts, draws and prints Casewright documents (*.cwr) without a display.</translation>
    </message>
    <message>
        <source>コマンド:</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>どのコマンドも --printer-dpi X[xY] (文書が基準とするプリンタの解像度、既定 300)を受け付けます。メッセージは標準エラー出力に出ます。</source>
        <translation>Every command takes --printer-dpi X[xY], the printer resolution a document refers to (default 300). Messages go to standard error.</translation>
    </message>
    <message>
        <source>オプション:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>不明なオプションです: %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>%1 の値がありません</source>
        <translation>missing value for %1</translation>
    </message>
    <message>
        <source>値を取らないオプションに値があります: %1</source>
        <translation>unexpected value: %1</translation>
    </message>
    <message>
        <source>余分な引数があります: %1</source>
        <translation>unexpected argument: %1</translation>
    </message>
    <message>
        <source>解像度が正しくありません: %1</source>
        <translation>invalid resolution: %1</translation>
    </message>
    <message>
        <source>大きさが正しくありません: %1</source>
        <translation>invalid size: %1</translation>
    </message>
    <message>
        <source>印刷設定の指定が正しくありません: %1 (NAME=0|1、NAME は AreaLinePrint, CutLinePrint, SideTitleSameTop, TopLabelPrint, BottomLabelPrint, InsidePrint, DiscLabelPrint のどれか)</source>
        <translation>invalid option: %1 (NAME=0|1 with NAME one of AreaLinePrint, CutLinePrint, SideTitleSameTop, TopLabelPrint, BottomLabelPrint, InsidePrint, DiscLabelPrint)</translation>
    </message>
    <message>
        <source>塗り足しの指定が正しくありません: %1 (0, 1, 2, 3 mm のどれか)</source>
        <translation>invalid bleed: %1 (0, 1, 2 or 3 mm)</translation>
    </message>
    <message>
        <source>補正の指定が正しくありません: %1 (X,Y を mm で、-10.0〜10.0、小数一桁)</source>
        <translation>invalid offset: %1 (X,Y in millimeters from -10.0 to 10.0, one decimal)</translation>
    </message>
    <message>
        <source>読む文書と書き出す文書を指定してください</source>
        <translation>a document to read and a document to write are needed</translation>
    </message>
    <message>
        <source>画像ファイルを一つ指定してください</source>
        <translation>expected one picture file</translation>
    </message>
    <message>
        <source>文書を一つ指定してください</source>
        <translation>one document is needed</translation>
    </message>
    <message>
        <source>列数が正しくありません: %1</source>
        <translation>invalid column count: %1</translation>
    </message>
    <message>
        <source>ファイル、フォルダ、または音声ファイルを指定してください</source>
        <translation>expected a file, a folder or audio files</translation>
    </message>
    <message>
        <source>不明なコマンドです: %1</source>
        <translation>unknown command: %1</translation>
    </message>
    <message>
        <source>--printer と --pdf は同時に指定できません</source>
        <translation>--printer and --pdf exclude each other</translation>
    </message>
    <message>
        <source>印刷モジュールを読み込めません: %1</source>
        <translation>the printer module cannot be loaded: %1</translation>
    </message>
    <message>
        <source>%1 は %2 です</source>
        <translation>%1 must be %2</translation>
    </message>
    <message>
        <source>%1 は %2 か %3 です</source>
        <translation>%1 must be %2 or %3</translation>
    </message>
    <message>
        <source>%1 は %2 のどれかです</source>
        <translation>%1 must be one of %2</translation>
    </message>
    <message>
        <source>--png、--pdf、--ops のどれか一つを指定してください</source>
        <translation>exactly one of --png, --pdf, --ops expected</translation>
    </message>
    <message>
        <source>ファイル(%1)が記録できません(ページが大きすぎます)</source>
        <translation>The file (%1) cannot be written (the page is too large)</translation>
    </message>
    <message>
        <source>文書と書き出すファイルを指定してください</source>
        <translation>a document and an output file expected</translation>
    </message>
    <message>
        <source>テンプレートファイルを一つ指定してください</source>
        <translation>expected one template file</translation>
    </message>
    <message>
        <source>ファイルに書き込めません</source>
        <translation>the file cannot be written</translation>
    </message>
    <message>
        <source>PDF ファイルを書き始められません</source>
        <translation>the PDF file cannot be started</translation>
    </message>
    <message>
        <source>仕上がり枠が塗り足し枠の、塗り足し枠が用紙の内側にありません</source>
        <translation>the trim box does not lie within the bleed box, or the bleed box within the page</translation>
    </message>
    <message>
        <source>PDF のページ数が %1 ではなく %2 です</source>
        <translation>the PDF has %2 pages instead of %1</translation>
    </message>
    <message>
        <source>PDF の枠を設定できません: %1</source>
        <translation>the PDF's page boxes cannot be set: %1</translation>
    </message>
    <message>
        <source>何も書き込まれませんでした</source>
        <translation>nothing was written</translation>
    </message>
    <message>
        <source>ケースの寸法の変更</source>
        <translation>Change case size</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は %2 から %3 までの数値(mm、小数1桁)ではありません</source>
        <translation>&apos;%1&apos; is not a number from %2 to %3 (mm, one decimal)</translation>
    </message>
    <message>
        <source>--size はパネルの幅、パネルの高さ、背の幅(mm)をコンマで区切って指定してください</source>
        <translation>--size takes the panel width, the panel height and the spine width (mm), separated by commas</translation>
    </message>
    <message>
        <source>--size はカスタムケース (custom-wrap) の文書にだけ指定できます</source>
        <translation>--size is only for a document of the custom case (custom-wrap)</translation>
    </message>
    <message>
        <source>カスタムケース (custom-wrap) のパネルの幅、パネルの高さ、背の幅 (mm、小数1桁)。パネルは 20.0〜300.0、背は 0.0〜60.0 です</source>
        <translation>the custom case&apos;s (custom-wrap) panel width, panel height and spine width (mm, one decimal): panels 20.0 to 300.0, the spine 0.0 to 60.0</translation>
    </message>
    <message>
        <source>パネルの幅</source>
        <translation>Panel width</translation>
    </message>
    <message>
        <source>パネルの高さ</source>
        <translation>Panel height</translation>
    </message>
    <message>
        <source>背の幅</source>
        <translation>Spine width</translation>
    </message>
    <message>
        <source>レター横</source>
        <translation>Letter landscape</translation>
    </message>
    <message>
        <source>A4横</source>
        <translation>A4 landscape</translation>
    </message>
    <message>
        <source>A3横</source>
        <translation>A3 landscape</translation>
    </message>
    <message>
        <source>%1の%2枚目</source>
        <translation>%1, sheet %2</translation>
    </message>
    <message>
        <source>%1の内側</source>
        <translation>%1, inside</translation>
    </message>
    <message>
        <source>%1が用紙に収まりません。</source>
        <translation>%1 does not fit the paper.</translation>
    </message>
    <message>
        <source>%1が塗り足しとトンボを含めて用紙に収まりません。</source>
        <translation>%1: with its bleed and its trim marks it does not fit the paper.</translation>
    </message>
    <message>
        <source>%1がトンボを含めて用紙に収まりません。</source>
        <translation>%1: with its trim marks it does not fit the paper.</translation>
    </message>
    <message>
        <source>(%1など)</source>
        <translation> (such as %1)</translation>
    </message>
    <message>
        <source>印刷できる範囲が横%1×縦%2以上の用紙%3を選んでください(この用紙は横%4×縦%5)</source>
        <translation> Choose paper whose printable area is at least %1 wide and %2 high%3; this paper&apos;s is %4 by %5.</translation>
    </message>
    <message>
        <source>--paper は --pdf と一緒に指定してください</source>
        <translation>--paper is given with --pdf</translation>
    </message>
    <message>
        <source>PDF ファイルの用紙: A4 横(既定)かレター横。--pdf と一緒に</source>
        <translation>The PDF file&apos;s paper: A4 landscape (the default) or US Letter landscape; with --pdf</translation>
    </message>
    <message>
        <source>内側も印刷</source>
        <translation>Print the inside</translation>
    </message>
    <message>
        <source>左右に裏返すと表レーベルの裏に来ます。両面印刷は短辺綴じ。</source>
        <translation>Turned over side to side, it lies behind the front panel. Two-sided: flip on the short edge.</translation>
    </message>
    <message>
        <source>--page %1 は --option InsidePrint=1 と一緒に指定してください</source>
        <translation>give --page %1 together with --option InsidePrint=1</translation>
    </message>
    <message>
        <source>テキストブロック</source>
        <translation>Text block</translation>
    </message>
    <message>
        <source>左揃え</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>中央揃え</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>右揃え</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>配置</source>
        <translation>Alignment</translation>
    </message>
    <message>
        <source>行間</source>
        <translation>Line spacing</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>ファイルから読み込む...</source>
        <translation>Read from file...</translation>
    </message>
    <message>
        <source>ファイルから読み込む</source>
        <translation>Read from file</translation>
    </message>
    <message>
        <source>%1行が収まりません</source>
        <translation>%1 lines do not fit</translation>
    </message>
    <message>
        <source>テキストファイル(*.txt)|*.TXT|全てのファイル(*.*)|*.*</source>
        <translation>Text files(*.txt)|*.TXT|All files(*.*)|*.*</translation>
    </message>
    <message>
        <source>ファイル(%1)が大きすぎます(最大%2KB)</source>
        <translation>The file (%1) is too large (at most %2 KB)</translation>
    </message>
    <message>
        <source>ファイル(%1)はテキストファイルではありません</source>
        <translation>The file (%1) is not a text file</translation>
    </message>
    <message>
        <source>印刷するラベル(%1)が正しくありません。1から%2までの番号をコンマで区切って指定してください</source>
        <translation>The labels to print (%1) are not valid: give numbers from 1 to %2 separated by commas</translation>
    </message>
    <message>
        <source>用紙は A4 か Letter です</source>
        <translation>The paper is A4 or Letter</translation>
    </message>
    <message>
        <source>ラベルの外径は 20.0mm から 130.0mm までです</source>
        <translation>The label&apos;s outer diameter is 20.0 mm to 130.0 mm</translation>
    </message>
    <message>
        <source>ラベルの穴の径は 0.0mm から %1mm (外径より 10.0mm 小さい値) までです</source>
        <translation>The label&apos;s hole diameter is 0.0 mm to %1 mm (10.0 mm less than the outer diameter)</translation>
    </message>
    <message>
        <source>ラベルは 1 枚から %1 枚までです</source>
        <translation>A sheet has 1 to %1 labels</translation>
    </message>
    <message>
        <source>ラベル%1が用紙からはみ出しています</source>
        <translation>Label %1 reaches off the paper</translation>
    </message>
    <message>
        <source>ラベル%1とラベル%2が重なっています</source>
        <translation>Labels %1 and %2 overlap</translation>
    </message>
    <message>
        <source>ラベルの中心(%1)は「x,y;x,y」の形で、用紙の左上からの mm (小数2桁まで) で入力してください</source>
        <translation>Enter the label centers (%1) as &quot;x,y;x,y&quot;: millimeters from the paper&apos;s top-left corner, up to two decimals</translation>
    </message>
    <message>
        <source>ディスクのラベルシートとその寸法</source>
        <translation>The disc label sheets and their sizes</translation>
    </message>
    <message>
        <source>プログラムが知っているディスクのラベルシートを JSON で表示します。シートごとに id、製品名、用紙 (A4 か Letter) とその幅と高さ、ラベルの外径と穴の径、ラベルの中心 (用紙の左上から、ラベル 1 から順に) です。寸法はすべて mm です。</source>
        <translation>Prints the disc label sheets the program knows as JSON: for each sheet its id, product name, paper (A4 or Letter) with its width and height, the labels&apos; outer and hole diameters, and the label centers (from the paper&apos;s top-left corner, label 1 first). Every size is in millimeters.</translation>
    </message>
    <message>
        <source>ディスク用のシート: 十字の代わりに、用紙の中央に直径 118mm と 43mm の円と中心の十字を描きます。プリンタブルディスクに印刷して、ディスクとのずれを測ります</source>
        <translation>The sheet for discs: instead of the crosses, circles of 118 mm and 43 mm diameter around the paper&apos;s center with a cross at the center. Print it on a printable disc and measure how far it lies off the disc</translation>
    </message>
    <message>
        <source>ディスク用: 円の中心がディスクの中心に来るように補正します</source>
        <translation>For discs: correct the position so that the circles&apos; center is the disc&apos;s center</translation>
    </message>
    <message>
        <source>ディスクに印刷し、118mm の円とディスクの縁の隙間を測って、「横」に(右の隙間−左の隙間)÷2を、「縦」に(下の隙間−上の隙間)÷2を加えてください</source>
        <translation>Print on a disc, measure the gaps between the 118 mm circle and the disc&apos;s edge, and add (right gap − left gap) ÷ 2 to &quot;X&quot; and (bottom gap − top gap) ÷ 2 to &quot;Y&quot;</translation>
    </message>
    <message>
        <source>ディスク用の調整シートを印刷</source>
        <translation>Print disc calibration sheet</translation>
    </message>
    <message>
        <source>ディスク</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>サブタイトル</source>
        <translation>Subtitle</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>角度 %1° 半径 %2mm</source>
        <translation>angle %1° radius %2 mm</translation>
    </message>
    <message>
        <source>%1 %2のフォント名</source>
        <translation>%1 %2 font name</translation>
    </message>
    <message>
        <source>記録したディスクの用紙の代わりに、このラベルシート(label-sheets の id、または custom)</source>
        <translation>print the disc on this label sheet (an id label-sheets lists, or custom) instead of the stock the settings keep</translation>
    </message>
    <message>
        <source>ディスクをラベルシートでなく、プリンタブルディスクに印刷します</source>
        <translation>print the disc on a printable disc instead of a label sheet</translation>
    </message>
    <message>
        <source>ディスクの外周と穴の円を細い灰色の線で描きます</source>
        <translation>draw the disc&apos;s outer and hole circles as thin gray lines</translation>
    </message>
    <message>
        <source>ラベルシートのうち印刷するラベルの番号(既定はすべて)</source>
        <translation>the numbers of the sheet&apos;s labels to print (default: all)</translation>
    </message>
    <message>
        <source>上の弧</source>
        <translation>Top arc</translation>
    </message>
    <message>
        <source>下の弧</source>
        <translation>Bottom arc</translation>
    </message>
    <message>
        <source>半径</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background color</translation>
    </message>
    <message>
        <source>ディスクレーベル印刷</source>
        <translation>Print disc label</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は %2 から %3 までの数値(度、小数1桁)ではありません</source>
        <translation>&apos;%1&apos; is not a number from %2 to %3 (degrees, one decimal)</translation>
    </message>
    <message>
        <source>プリンタブルディスク</source>
        <translation>Printable disc</translation>
    </message>
    <message>
        <source>印刷する用紙</source>
        <translation>Disc stock</translation>
    </message>
    <message>
        <source>印刷するラベル</source>
        <translation>Labels to print</translation>
    </message>
    <message>
        <source>外径</source>
        <translation>Outer</translation>
    </message>
    <message>
        <source>ハブ径</source>
        <translation>Hub</translation>
    </message>
    <message>
        <source>カスタム用紙の設定...</source>
        <translation>Custom sheet settings...</translation>
    </message>
    <message>
        <source>カスタム用紙</source>
        <translation>Custom sheet</translation>
    </message>
    <message>
        <source>用紙</source>
        <translation>Paper</translation>
    </message>
    <message>
        <source>穴径</source>
        <translation>Hole</translation>
    </message>
    <message>
        <source>ラベルの中心</source>
        <translation>Label centers</translation>
    </message>
    <message>
        <source>外径(%1)は mm で、小数1桁までの数値を入力してください</source>
        <translation>Enter the outer diameter (%1) in millimeters, with at most one decimal</translation>
    </message>
    <message>
        <source>穴径(%1)は mm で、小数1桁までの数値を入力してください</source>
        <translation>Enter the hole diameter (%1) in millimeters, with at most one decimal</translation>
    </message>
    <message>
        <source>ラベル%1の中心(%2, %3)は用紙の左上からの mm (小数2桁まで) で入力してください</source>
        <translation>Enter the center of label %1 (%2, %3) in millimeters from the paper&apos;s top-left corner, up to two decimals</translation>
    </message>
    <message>
        <source>弧の半径</source>
        <translation>Arc radius</translation>
    </message>
    <message>
        <source>弧の角度</source>
        <translation>Arc angle</translation>
    </message>
    <message>
        <source>ブックレットのページ数</source>
        <translation>Booklet page count</translation>
    </message>
    <message>
        <source>%1ページ目</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>内容のある%1ページが削除されます。よろしいですか？</source>
        <translation>%1 pages with content will be removed. Continue?</translation>
    </message>
    <message>
        <source>任意印刷(%1)</source>
        <translation>Free print (%1)</translation>
    </message>
    <message>
        <source>--imposed は --press と一緒に指定してください</source>
        <translation>--imposed needs --press</translation>
    </message>
    <message>
        <source>--press で、ブックレットのページを読む順に一ページずつではなく、印刷する面のまま置きます</source>
        <translation>with --press: a booklet&apos;s sides as they are printed instead of its pages one by one in reading order</translation>
    </message>
    <message>
        <source>ブックレット</source>
        <translation>Booklet</translation>
    </message>
    <message>
        <source>%1ページ</source>
        <translation>%1 pages</translation>
    </message>
    <message>
        <source>両面印刷</source>
        <translation>Two-sided</translation>
    </message>
    <message>
        <source>プリンタで両面</source>
        <translation>By the printer</translation>
    </message>
    <message>
        <source>手動で両面</source>
        <translation>By hand</translation>
    </message>
    <message>
        <source>表示するページ</source>
        <translation>Page shown</translation>
    </message>
    <message>
        <source>ページ</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>前へ</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>次へ</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>%1-%2ページ</source>
        <translation>Pages %1–%2</translation>
    </message>
    <message>
        <source>ブックレットの表面を%1枚に印刷しました。
印刷した用紙を1枚目が一番上になるように重ね、束のまま左右に裏返して、何も印刷されていない面に印刷される向きで用紙トレイに戻してください。
OKを押すと、裏面を最後の用紙から順に印刷します。</source>
        <translation>The fronts of the booklet are printed on %1 sheets.
Stack the printed sheets with sheet 1 on top, turn the stack over from left to right, and put it back in the paper tray so that the blank sides are printed.
When you press OK, the backs are printed, starting with the last sheet.</translation>
    </message>
    <message>
        <source>表面の印刷後に戻し方をお知らせします。</source>
        <translation>After the fronts you are told how to put the sheets back.</translation>
    </message>
    <message>
        <source>短辺綴じで両面印刷します。</source>
        <translation>Both sides, flipped on the short edge.</translation>
    </message>
</context>
</TS>
