<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>TONEKIT</name>
    <message>
        <source> --encoding utf-8 か --encoding cp932 で指定してください: </source>
        <translation> give it with --encoding utf-8 or --encoding cp932: </translation>
    </message>
    <message>
        <source>--quotes new か --quotes old で読み方を選んでください。
</source>
        <translation>Choose how to read it with --quotes new or --quotes old.
</translation>
    </message>
    <message>
        <source> --errors でエラーファイルを指定してください。</source>
        <translation> Name an error file with --errors.</translation>
    </message>
    <message>
        <source>エラーファイルの文字コードで書けない行 </source>
        <translation>Lines that the error file&apos;s encoding cannot hold: </translation>
    </message>
    <message>
        <source> 行は、エラーファイルに入れませんでした。
</source>
        <translation>; they were left out of the error file.
</translation>
    </message>
    <message>
        <source>「</source>
        <translation>“</translation>
    </message>
    <message>
        <source>」は「タグ=値」の形になっていません（例: titl=曲名）。</source>
        <translation>” is not of the form “tag=value” (for example titl=My song).</translation>
    </message>
    <message>
        <source>」というタグはありません。使えるタグ: </source>
        <translation>” is no tag. Tags: </translation>
    </message>
    <message>
        <source>。</source>
        <translation>.</translation>
    </message>
    <message>
        <source>」の文字列に、コードページ932で表せない文字があります。</source>
        <translation>” holds characters that code page 932 cannot represent.</translation>
    </message>
    <message>
        <source>」は16進数のバイト列ではありません（例: 0102ff）。</source>
        <translation>” is not a string of hexadecimal bytes (for example 0102ff).</translation>
    </message>
    <message>
        <source>(読み込みが途中で止まったため保存しません: </source>
        <translation>(not saved, because reading stopped partway: </translation>
    </message>
    <message>
        <source>(標準出力に書き込めません)</source>
        <translation>(cannot write to standard output)</translation>
    </message>
    <message>
        <source>使えるコマンド: </source>
        <translation>Commands: </translation>
    </message>
    <message>
        <source>詳しくは tonekit-cli --help をご覧ください。</source>
        <translation>See tonekit-cli --help for more.</translation>
    </message>
    <message>
        <source>「%1」というコマンドはありません。</source>
        <translation>There is no command “%1”. </translation>
    </message>
    <message>
        <source>コマンドを指定してください。</source>
        <translation>Please give a command. </translation>
    </message>
    <message>
        <source>(HOME も XDG_DATA_HOME も設定されていないため、ユーザーのデータフォルダがありません)</source>
        <translation>(there is no user data folder, because neither HOME nor XDG_DATA_HOME is set)</translation>
    </message>
    <message>
        <source> (実行中のユーザーのフォルダではありません)</source>
        <translation> (not a folder of the user running the program)</translation>
    </message>
    <message>
        <source>プロシージャの呼び出し、または引数が不正です。</source>
        <translation>Invalid procedure call or argument.</translation>
    </message>
    <message>
        <source>オーバーフローしました。</source>
        <translation>Overflow.</translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>インデックスが有効範囲にありません。</source>
        <translation>Subscript out of range.</translation>
    </message>
    <message>
        <source>型が一致しません。</source>
        <translation>Type mismatch.</translation>
    </message>
    <message>
        <source>オブジェクト変数または With ブロック変数が設定されていません。</source>
        <translation>Object variable or With block variable not set.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>File not found.</translation>
    </message>
    <message>
        <source>ディスクがいっぱいです。</source>
        <translation>Disk full.</translation>
    </message>
    <message>
        <source>ファイルにこれ以上データがありません。</source>
        <translation>Input past end of file.</translation>
    </message>
    <message>
        <source>書き込みできません。</source>
        <translation>Permission denied.</translation>
    </message>
    <message>
        <source>パス名が無効です。</source>
        <translation>Path/File access error.</translation>
    </message>
    <message>
        <source>パスが見つかりません。</source>
        <translation>Path not found.</translation>
    </message>
    <message>
        <source>このキーは既にこのコレクションの要素に割り当てられています。</source>
        <translation>This key is already associated with an element of this collection.</translation>
    </message>
    <message>
        <source>アプリケーション定義またはオブジェクト定義のエラーです。</source>
        <translation>Application-defined or object-defined error.</translation>
    </message>
    <message>
        <source>読み込みできません。</source>
        <translation>Cannot read.</translation>
    </message>
    <message>
        <source>ファイル名がありません</source>
        <translation>no file name</translation>
    </message>
    <message>
        <source>シンボリックリンクはたどりません</source>
        <translation>symbolic links are not followed</translation>
    </message>
    <message>
        <source> はほかのユーザーが自分のフォルダに置いたリンクのため、root としてはたどりません)</source>
        <translation> is a link another user put in their own folder, so root does not follow it)</translation>
    </message>
    <message>
        <source> はリンクで、その持ち主が root でも実行中のユーザーでも、リンクのあるフォルダやリンク先の持ち主でもないため、たどりません)</source>
        <translation> is a link whose owner is neither root, nor the user running the program, nor the owner of its folder or of its target, so it is not followed)</translation>
    </message>
    <message>
        <source>固定ビットのあるフォルダにほかのユーザーが置いたファイルのため、書き込みません</source>
        <translation>not written: another user put this file in a folder with the sticky bit</translation>
    </message>
    <message>
        <source>ほかにも名前（ハードリンク）があり、持ち主が実行中のユーザーでもフォルダの持ち主でもないファイルのため、書き込みません</source>
        <translation>not written: the file has other names (hard links) and belongs neither to the user running the program nor to the folder&apos;s owner</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source> バイトは大きすぎます。上限は </source>
        <translation> bytes is too large; the limit is </translation>
    </message>
    <message>
        <source> バイトです)</source>
        <translation> bytes)</translation>
    </message>
    <message>
        <source>読み込んだ後で別のファイルに置き換えられたため、保存しません</source>
        <translation>not saved: another file has replaced it since it was read</translation>
    </message>
    <message>
        <source>保存中に同じ名前のファイルが作られました</source>
        <translation>a file of the same name was created during the save</translation>
    </message>
    <message>
        <source> 元の内容: </source>
        <translation> Original content: </translation>
    </message>
    <message>
        <source>読み込んだ後でなくなりました</source>
        <translation>gone since it was read</translation>
    </message>
    <message>
        <source>読み取り専用のファイルです</source>
        <translation>the file is read-only</translation>
    </message>
    <message>
        <source>リンクです。フォルダではありません</source>
        <translation>a link, not a folder</translation>
    </message>
    <message>
        <source>(4バイトの数値)</source>
        <translation>(4-byte number)</translation>
    </message>
    <message>
        <source>(2バイトの数値)</source>
        <translation>(2-byte number)</translation>
    </message>
    <message>
        <source>(不明なタグ: </source>
        <translation>(unknown tag: </translation>
    </message>
    <message>
        <source>(ファイルヘッダが13バイトに足りません: </source>
        <translation>(the file header is shorter than 13 bytes: </translation>
    </message>
    <message>
        <source>(トラック部のサイズが0以下です: </source>
        <translation>(the track part&apos;s size is 0 or less: </translation>
    </message>
    <message>
        <source>(インフォメーション部がファイルの終わりを越えています)</source>
        <translation>(the information part runs past the end of the file)</translation>
    </message>
    <message>
        <source>&quot;のデータ長がありません)</source>
        <translation>&quot; has no data length)</translation>
    </message>
    <message>
        <source>&quot;のデータがファイルの終わりを越えています)</source>
        <translation>&quot; data runs past the end of the file)</translation>
    </message>
    <message>
        <source>ファイルヘッダ&#x3000; : </source>
        <translation>File header : </translation>
    </message>
    <message>
        <source>トラックデータ数 : </source>
        <translation>Tracks found : </translation>
    </message>
    <message>
        <source>(トラック数 </source>
        <translation>(track count </translation>
    </message>
    <message>
        <source>(ファイルを読み込んでいない文書は保存できません)</source>
        <translation>(a document that was not read from a file cannot be saved)</translation>
    </message>
    <message>
        <source>(読み込みが途中で止まったファイルです。保存するとトラック部が失われるため保存しません)</source>
        <translation>(reading of this file stopped partway; it is not saved, because saving would lose the track part)</translation>
    </message>
    <message>
        <source> にはファイルの長さの後ろに </source>
        <translation> has </translation>
    </message>
    <message>
        <source> バイトあります。保存すると失われるため保存しません)</source>
        <translation> bytes after the file length; they would be lost, so it is not saved)</translation>
    </message>
    <message>
        <source>&quot;の値が65535バイトを超えています: </source>
        <translation>&quot; value exceeds 65535 bytes: </translation>
    </message>
    <message>
        <source>バイト)</source>
        <translation> bytes)</translation>
    </message>
    <message>
        <source>(インフォメーション部が大きすぎます: トラック部までのサイズ </source>
        <translation>(the information part is too large: size up to the track part </translation>
    </message>
    <message>
        <source>(トラック数がありません)</source>
        <translation>(no track count)</translation>
    </message>
    <message>
        <source> に対してトラックデータが </source>
        <translation>, but only </translation>
    </message>
    <message>
        <source> つしかありません)</source>
        <translation> tracks of data)</translation>
    </message>
    <message>
        <source>(読み込んだファイルではありません: </source>
        <translation>(not the file that was read: </translation>
    </message>
    <message>
        <source>(保存先がありません)</source>
        <translation>(nowhere to save)</translation>
    </message>
    <message>
        <source>処理できないファイルフォーマットのようです。</source>
        <translation>This file appears to be in a format that cannot be processed.</translation>
    </message>
    <message>
        <source>このファイルの上書き保存が途中で止まったときの元の内容が残っています。ファイルが壊れているときは、これを元の名前にコピーしてください:</source>
        <translation>The original content of this file, kept when a save over it stopped partway, is still there. If the file is damaged, copy this back to the original name:</translation>
    </message>
    <message>
        <source>ファイルヘッダのトラック数と、トラックデータの数が違います。</source>
        <translation>The track count in the file header differs from the number of tracks of data.</translation>
    </message>
    <message>
        <source>処理できませんでした。</source>
        <translation>The operation could not be completed.</translation>
    </message>
    <message>
        <source>処理でませんでした。</source>
        <translation>The operation could not be completed.</translation>
    </message>
    <message>
        <source>エラー情報</source>
        <translation>Error information</translation>
    </message>
    <message>
        <source>できましたら、バグ退治のために以下の情報を作者に送信してあげてください。</source>
        <translation>If you can, please send the information below to the author to help fix the bug.</translation>
    </message>
    <message>
        <source>この値は「無音」として再生され、このパートは次のボリューム相対変化まで聞こえなくなります。よろしいですか？</source>
        <translation>This value plays as silence: the part will not be heard until the next relative volume change. Continue?</translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation>Please enter a number.</translation>
    </message>
    <message>
        <source>Δタイムは0～255の範囲です。</source>
        <translation>Delta time must be from 0 to 255.</translation>
    </message>
    <message>
        <source>チャネルは0～15の範囲です。</source>
        <translation>Channel must be from 0 to 15.</translation>
    </message>
    <message>
        <source>テンポは20～255の範囲です。</source>
        <translation>Tempo must be from 20 to 255.</translation>
    </message>
    <message>
        <source>ループIDは0～3の範囲です。</source>
        <translation>Loop ID must be from 0 to 3.</translation>
    </message>
    <message>
        <source>ループ回数は0～15の範囲です。</source>
        <translation>Loop count must be from 0 to 15.</translation>
    </message>
    <message>
        <source>パートは0～3の範囲です。</source>
        <translation>Part must be from 0 to 3.</translation>
    </message>
    <message>
        <source>6BitのGM音色は0～63の範囲です。</source>
        <translation>A 6-bit GM voice must be from 0 to 63.</translation>
    </message>
    <message>
        <source>1BitのGM音色は0～1の範囲です。</source>
        <translation>A 1-bit GM voice must be 0 or 1.</translation>
    </message>
    <message>
        <source>音量は0～63の範囲です。</source>
        <translation>Volume must be from 0 to 63.</translation>
    </message>
    <message>
        <source>バランスは0～63の範囲です。</source>
        <translation>Balance must be from 0 to 63.</translation>
    </message>
    <message>
        <source>チャネル割り当ては0～15の範囲です。</source>
        <translation>Channel assignment must be from 0 to 15.</translation>
    </message>
    <message>
        <source>ボリューム相対変化は-32～31の範囲です。</source>
        <translation>Relative volume change must be from -32 to 31.</translation>
    </message>
    <message>
        <source>マスターボリューム</source>
        <translation>Master volume</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>ステレオバランス</source>
        <translation>Stereo balance</translation>
    </message>
    <message>
        <source>ボリュームの相対変化</source>
        <translation>Relative volume change</translation>
    </message>
    <message>
        <source>チャンネル割り当て</source>
        <translation>Channel assignment</translation>
    </message>
    <message>
        <source>音色</source>
        <translation>Voice</translation>
    </message>
    <message>
        <source>テンポ</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>ドラムスケール変更</source>
        <translation>Drum scale</translation>
    </message>
    <message>
        <source>ループポイント</source>
        <translation>Loop point</translation>
    </message>
    <message>
        <source>演奏位置情報</source>
        <translation>Play position</translation>
    </message>
    <message>
        <source>ボリューム相対変化</source>
        <translation>Relative volume change</translation>
    </message>
    <message>
        <source>拡張ステータス編集</source>
        <translation>Edit Extend Status</translation>
    </message>
    <message>
        <source>拡張情報種別選択</source>
        <translation>Extend &amp;Kind</translation>
    </message>
    <message>
        <source>解析できない拡張情報です</source>
        <translation>This extend status cannot be decoded</translation>
    </message>
    <message>
        <source>( 0 ～ 127 )</source>
        <translation>( 0 – 127 )</translation>
    </message>
    <message>
        <source>パート</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>( 0 ～ 3 )</source>
        <translation>( 0 – 3 )</translation>
    </message>
    <message>
        <source>( 0 ～ 63 )</source>
        <translation>( 0 – 63 )</translation>
    </message>
    <message>
        <source>バランス</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>相対変化</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>( -32 ～ 31 )</source>
        <translation>( -32 – 31 )</translation>
    </message>
    <message>
        <source>チャネル</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>( 0 ～ 15 )</source>
        <translation>( 0 – 15 )</translation>
    </message>
    <message>
        <source>GM音色</source>
        <translation>GM voice</translation>
    </message>
    <message>
        <source>( 0 ～ 63 Or 0 ～ 1 )</source>
        <translation>( 0 – 63 or 0 – 1 )</translation>
    </message>
    <message>
        <source>2～7Bit目</source>
        <translation>Bits 2–7</translation>
    </message>
    <message>
        <source>1Bit目</source>
        <translation>Bit 1</translation>
    </message>
    <message>
        <source>( 20 ～ 255 )</source>
        <translation>( 20 – 255 )</translation>
    </message>
    <message>
        <source>( 0 ～15 )</source>
        <translation>( 0 – 15 )</translation>
    </message>
    <message>
        <source>( 拡張ステータスなし )</source>
        <translation>( no extend status data )</translation>
    </message>
    <message>
        <source>ループＩＤ</source>
        <translation>Loop ID</translation>
    </message>
    <message>
        <source>ループ回数</source>
        <translation>Loop count</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>End</translation>
    </message>
    <message>
        <source>演奏開始</source>
        <translation>Play start</translation>
    </message>
    <message>
        <source>演奏終了</source>
        <translation>Play end</translation>
    </message>
    <message>
        <source>Δタイム</source>
        <translation>Δ time</translation>
    </message>
    <message>
        <source>(パスが空です)</source>
        <translation>(the path is empty)</translation>
    </message>
    <message>
        <source>(読み込みが途中で止まったファイルです: </source>
        <translation>(reading of the file stopped partway: </translation>
    </message>
    <message>
        <source>(タイトルのチャンクがないファイルです: </source>
        <translation>(the file has no title chunk: </translation>
    </message>
    <message>
        <source>(更新する行が残っていません)</source>
        <translation>(no rows left to update)</translation>
    </message>
    <message>
        <source>」「</source>
        <translation>” “</translation>
    </message>
    <message>
        <source>」</source>
        <translation>”</translation>
    </message>
    <message>
        <source>読み込めないため、リストに入れられないファイルがあります: </source>
        <translation>A file could not be read and is not in the list: </translation>
    </message>
    <message>
        <source>mldファイルがありません。</source>
        <translation>There are no MLD files.</translation>
    </message>
    <message>
        <source>パスが長すぎて開けないため、リストに入れられないファイルが </source>
        <translation>Files whose path is too long to open, left out of the list: </translation>
    </message>
    <message>
        <source> 個あります。</source>
        <translation>.</translation>
    </message>
    <message>
        <source>リストがありません。</source>
        <translation>There is no list.</translation>
    </message>
    <message>
        <source>ファイルからリスト情報を読み込めませんでした。</source>
        <translation>No list could be read from the file.</translation>
    </message>
    <message>
        <source>現在のリストに表示されているファイルに対して項目の更新を行います。</source>
        <translation>The files in the list shown will be updated with its entries.</translation>
    </message>
    <message>
        <source>よろしいですか？</source>
        <translation>Continue?</translation>
    </message>
    <message>
        <source>エラーがありました。エラー項目を、</source>
        <translation>There were errors. The failed entries were written to </translation>
    </message>
    <message>
        <source>へ出力しました。</source>
        <translation>.</translation>
    </message>
    <message>
        <source>リスト項目からファイルへの更新が完了しました。</source>
        <translation>The files have been updated from the list.</translation>
    </message>
    <message>
        <source>出力失敗</source>
        <translation>Output failed</translation>
    </message>
    <message>
        <source>現在のリストに表示されているファイルに対して項目の更新を行います。<byte value="xd"/>
よろしいですか？</source>
        <translation>The files in the list shown will be updated with its entries.<byte value="xd"/>
Continue?</translation>
    </message>
    <message>
        <source>パスに改行があるため、リストファイルに入れませんでした: </source>
        <translation>Left out of the list file because the path contains a line break: </translation>
    </message>
    <message>
        <source>パスにカンマがあるため、リストファイルに入れませんでした: </source>
        <translation>Left out of the list file because the path contains a comma: </translation>
    </message>
    <message>
        <source>パスがUTF-8の文字になっていないため、リストファイルに入れませんでした: </source>
        <translation>Left out of the list file because the path is not valid UTF-8: </translation>
    </message>
    <message>
        <source>パスにシフトJIS（コードページ932）で書けない文字があるため、リストファイルに入れませんでした（UTF-8のリストには入ります）: </source>
        <translation>Left out of the list file because the path has characters Shift JIS (code page 932) cannot hold (a UTF-8 list can hold them): </translation>
    </message>
    <message>
        <source>タイトルに改行があるため、リストファイルに入れませんでした: </source>
        <translation>Left out of the list file because the title contains a line break: </translation>
    </message>
    <message>
        <source>タイトルが文字にならないバイトを含むため、UTF-8のリストファイルに入れませんでした（シフトJISのリストには入ります）: </source>
        <translation>Left out of the UTF-8 list file because the title has bytes that are no characters (a Shift JIS list can hold them): </translation>
    </message>
    <message>
        <source>次の行はリストファイルに入れませんでした。一覧の行はそのまま残り、この画面から反映できます。</source>
        <translation>The following rows were not written to the list file. They stay in the list and can be applied from this window.</translation>
    </message>
    <message>
        <source>ほか</source>
        <translation>and </translation>
    </message>
    <message>
        <source>行</source>
        <translation> more rows</translation>
    </message>
    <message>
        <source>CSV UTF-8(カンマ区切り)(*.csv)|*.csv</source>
        <translation>CSV UTF-8 (comma delimited) (*.csv)|*.csv</translation>
    </message>
    <message>
        <source>パスとタイトルの2項目ではありません (項目数 </source>
        <translation>Not the two fields path and title (fields: </translation>
    </message>
    <message>
        <source>)。この行は反映しません</source>
        <translation>). This line is not applied</translation>
    </message>
    <message>
        <source>引用符の対応がとれていません。この行は反映しません</source>
        <translation>Unbalanced quotation marks. This line is not applied</translation>
    </message>
    <message>
        <source>項目の中に改行があります。この行は反映しません</source>
        <translation>A field contains a line break. This line is not applied</translation>
    </message>
    <message>
        <source>二通りに読めるため反映しません。CSVとして: </source>
        <translation>Not applied, because it reads two ways. As CSV: </translation>
    </message>
    <message>
        <source>、以前の版の書き方として: </source>
        <translation>; as written by earlier versions: </translation>
    </message>
    <message>
        <source>このリストには、以前の版が書いた行としても読める行があり、読み方で内容が変わります。<byte value="xd"/>
以前の版が書いたリストとして読みますか？（「いいえ」: CSVとして読みます）</source>
        <translation>Some lines of this list also read as lines written by earlier versions, and their content depends on how they are read.<byte value="xd"/>
Read it as a list written by an earlier version? (No: read it as CSV)</translation>
    </message>
    <message>
        <source>リストファイルの文字コードが UTF-8 かシフトJIS（コードページ932）か決められません。</source>
        <translation>Cannot tell whether the list file is UTF-8 or Shift JIS (code page 932).</translation>
    </message>
    <message>
        <source>リストファイルの文字コードが UTF-8 かシフトJIS（コードページ932）か決められません。<byte value="xd"/>
UTF-8 として読みますか？（「いいえ」: シフトJISとして読みます）</source>
        <translation>Cannot tell whether the list file is UTF-8 or Shift JIS (code page 932).<byte value="xd"/>
Read it as UTF-8? (No: read it as Shift JIS)</translation>
    </message>
    <message>
        <source>次の行はリストに入れませんでした:</source>
        <translation>These lines were not taken into the list:</translation>
    </message>
    <message>
        <source>タイトルにコードページ932で表せない文字があるため、反映しません: </source>
        <translation>Not applied, because the title has characters code page 932 cannot represent: </translation>
    </message>
    <message>
        <source>ファイルパス</source>
        <translation>File path</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>項目編集</source>
        <translation>Edit Entry</translation>
    </message>
    <message>
        <source>ファイルのパス&#x3000;：</source>
        <translation>File path:</translation>
    </message>
    <message>
        <source>タイトル&#x3000;：</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>選択したフォルダ以下に含まれるMLDファイルのリストです。ダブルクリックすることによりリスト内容の編集ができますが、いったんCSV形式のファイルに出力して、Excelやテキストエディタで編集後、再度読み込みを行った方が、作業効率がいいと思います。</source>
        <translation>The MLD files in the chosen folder and below. Double-click a row to edit it; for many titles it is usually quicker to save the list as a CSV file, edit it in a spreadsheet or text editor, and load it again.</translation>
    </message>
    <message>
        <source>MLDファイル検索フォルダ選択</source>
        <translation>Choose a Folder to Search for MLD Files</translation>
    </message>
    <message>
        <source>タイトルリスト出力ファイル選択</source>
        <translation>Save Title List As</translation>
    </message>
    <message>
        <source>読み込みCSVファイル選択</source>
        <translation>Open CSV File</translation>
    </message>
    <message>
        <source>CSV(カンマ区切り)(*.csv)|*.csv</source>
        <translation>CSV (comma delimited) (*.csv)|*.csv</translation>
    </message>
    <message>
        <source>すべてのファイル (*)|*</source>
        <translation>All files (*)|*</translation>
    </message>
    <message>
        <source>」はすでにあります。<byte value="xd"/>
追記: このリストを今の内容の後ろに書き足します。<byte value="xd"/>
置き換え: 今の内容を消して、このリストだけにします。</source>
        <translation>” already exists.<byte value="xd"/>
Append: add this list after its current content.<byte value="xd"/>
Replace: discard the current content and keep only this list.</translation>
    </message>
    <message>
        <source>リストの変更は保存されていません。保存しますか？</source>
        <translation>The list has unsaved changes. Save them?</translation>
    </message>
    <message>
        <source>リスト項目からファイルへの更新を中止しました。<byte value="xd"/>
書き込んだファイル: %1<byte value="xd"/>
書き込む必要のなかったファイル: %2<byte value="xd"/>
失敗した行: %3<byte value="xd"/>
更新せずに残した行: %4</source>
        <translation>The update from the list was cancelled.<byte value="xd"/>
Files written: %1<byte value="xd"/>
Files already up to date: %2<byte value="xd"/>
Rows failed: %3<byte value="xd"/>
Rows left without update: %4</translation>
    </message>
    <message>
        <source>リストに入れたファイル: %1<byte value="xd"/>
読み込めなかったファイル: %2</source>
        <translation>Files listed: %1<byte value="xd"/>
Files that could not be read: %2</translation>
    </message>
    <message>
        <source>書き込んだファイル: %1<byte value="xd"/>
書き込む必要のなかったファイル: %2<byte value="xd"/>
失敗した行: %3</source>
        <translation>Files written: %1<byte value="xd"/>
Files already up to date: %2<byte value="xd"/>
Rows failed: %3</translation>
    </message>
    <message>
        <source>ファイルと理由:</source>
        <translation>Files and reasons:</translation>
    </message>
    <message>
        <source>ほか %1 個</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>ﾘｽﾄ内容反映</source>
        <translation>Apply List</translation>
    </message>
    <message>
        <source>リスト内容をファイルに反映します</source>
        <translation>Writes the list&apos;s titles into the files</translation>
    </message>
    <message>
        <source>MLDﾘｽﾄ作成</source>
        <translation>Make List</translation>
    </message>
    <message>
        <source>指定したディレクトリ以下のMLDファイルのリストを作成します</source>
        <translation>Makes a list of the MLD files in a folder and below</translation>
    </message>
    <message>
        <source>MLDﾘｽﾄ読込</source>
        <translation>Load List</translation>
    </message>
    <message>
        <source>CSV形式のファイルリストをロードします</source>
        <translation>Loads a file list in CSV format</translation>
    </message>
    <message>
        <source>MLDﾘｽﾄ保存</source>
        <translation>Save List</translation>
    </message>
    <message>
        <source>ファイルリストをCSV形式でセーブします</source>
        <translation>Saves the file list in CSV format</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ファイルリストを作成するか、ロードしてください。</source>
        <translation>Make a file list or load one.</translation>
    </message>
    <message>
        <source>ダブルクリックすることにより編集ができます。</source>
        <translation>Double-click a row to edit it.</translation>
    </message>
    <message>
        <source>ファイルリスト</source>
        <translation>File list</translation>
    </message>
    <message>
        <source>件</source>
        <translation>files</translation>
    </message>
    <message>
        <source>処理中</source>
        <translation>Working</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>が空です)</source>
        <translation> is empty)</translation>
    </message>
    <message>
        <source>トラック数</source>
        <translation>track count</translation>
    </message>
    <message>
        <source>メジャータイプ</source>
        <translation>major type</translation>
    </message>
    <message>
        <source>マイナータイプ</source>
        <translation>minor type</translation>
    </message>
    <message>
        <source>&quot;sorc&quot;の値</source>
        <translation>the &quot;sorc&quot; value</translation>
    </message>
    <message>
        <source>(&quot;note&quot;の値が2バイトに足りません)</source>
        <translation>(the &quot;note&quot; value is shorter than 2 bytes)</translation>
    </message>
    <message>
        <source>個</source>
        <translation> chunks</translation>
    </message>
    <message>
        <source>、音声のみ</source>
        <translation>, audio only</translation>
    </message>
    <message>
        <source>音声情報</source>
        <translation>Audio information</translation>
    </message>
    <message>
        <source>作成者情報</source>
        <translation>Author information</translation>
    </message>
    <message>
        <source>キューポイント</source>
        <translation>Cue points</translation>
    </message>
    <message>
        <source>サポート情報</source>
        <translation>Support information</translation>
    </message>
    <message>
        <source>3D音響情報</source>
        <translation>3D sound information</translation>
    </message>
    <message>
        <source>著作権管理情報</source>
        <translation>Copyright management information</translation>
    </message>
    <message>
        <source>読み込みMLDファイル選択</source>
        <translation>Open MLD File</translation>
    </message>
    <message>
        <source>iメロディファイル (*.mld)|*.mld|SMFファイル（*.mid)|*.mid</source>
        <translation>i-melody files (*.mld)|*.mld|SMF files (*.mid)|*.mid</translation>
    </message>
    <message>
        <source>保存先ファイル選択</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>iメロディファイル (*.mld)|*.mld</source>
        <translation>i-melody files (*.mld)|*.mld</translation>
    </message>
    <message>
        <source>読み込みMIDIファイル選択</source>
        <translation>Open MIDI File</translation>
    </message>
    <message>
        <source>SMFファイル（*.mid)|*.mid</source>
        <translation>SMF files (*.mid)|*.mid</translation>
    </message>
    <message>
        <source>MIDIファイルから作成しました。そのままでは変換できなかったものがあります。<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>Created from the MIDI file. Some things could not be converted as they were.<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>ファイルが存在しません。 - </source>
        <translation>The file does not exist. - </translation>
    </message>
    <message>
        <source>トラック数を解析できませんでした。</source>
        <translation>Could not read the track count.</translation>
    </message>
    <message>
        <source>メジャータイプを解析できませんでした。</source>
        <translation>Could not read the major type.</translation>
    </message>
    <message>
        <source>マイナータイプを解析できませんでした。</source>
        <translation>Could not read the minor type.</translation>
    </message>
    <message>
        <source>このファイルは読み込みが途中で止まったため、保存できません。<byte value="xd"/>
（読み込めなかったインフォメーション部とトラック部が、保存したファイルから失われるためです）</source>
        <translation>Reading of this file stopped partway, so it cannot be saved.<byte value="xd"/>
(The parts of the information and track sections that could not be read would be lost from the saved file.)</translation>
    </message>
    <message>
        <source>このファイルには、ヘッダーが示すファイルの長さの後ろに </source>
        <translation>This file has </translation>
    </message>
    <message>
        <source> バイトのデータがあります。保存すると、そのデータは保存したファイルに含まれません。</source>
        <translation> bytes of data after the file length its header gives. A save will not include that data.</translation>
    </message>
    <message>
        <source> バイトのデータは保存されません。保存しますか？</source>
        <translation> bytes of data will not be saved. Save anyway?</translation>
    </message>
    <message>
        <source>」の変更は保存されていません。保存しますか？</source>
        <translation>” has unsaved changes. Save them?</translation>
    </message>
    <message>
        <source>ファイルが見つからないため、最近使ったファイルの一覧から外しました。 - </source>
        <translation>The file was not found and has been removed from the recent files. - </translation>
    </message>
    <message>
        <source>解析</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>指定ファイルの読み込みを行います</source>
        <translation>Reads the file given</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>読み込んでいるファイルを保存します</source>
        <translation>Saves the file that was read</translation>
    </message>
    <message>
        <source>ﾄﾗｯｸﾃﾞｰﾀ編集</source>
        <translation>Edit Track</translation>
    </message>
    <message>
        <source>トラック部の編集ができます</source>
        <translation>Edits the track part</translation>
    </message>
    <message>
        <source>ﾘｽﾄ編集</source>
        <translation>Edit List</translation>
    </message>
    <message>
        <source>MLDファイルのリストを作成したり、リストから一括編集ができます</source>
        <translation>Makes lists of MLD files and updates many files from a list at once</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>ファイルヘッダ部</source>
        <translation>File header</translation>
    </message>
    <message>
        <source>ファイル長 :</source>
        <translation>File length :</translation>
    </message>
    <message>
        <source>トラック部までのサイズ :</source>
        <translation>Size up to tracks :</translation>
    </message>
    <message>
        <source>メジャータイプ :</source>
        <translation>Major type :</translation>
    </message>
    <message>
        <source>着信メロディデータ </source>
        <translation>Ringtone data </translation>
    </message>
    <message>
        <source>音楽データ(MFi2) </source>
        <translation>Music data (MFi2) </translation>
    </message>
    <message>
        <source>マイナータイプ :</source>
        <translation>Minor type :</translation>
    </message>
    <message>
        <source>音楽データ</source>
        <translation>Music data</translation>
    </message>
    <message>
        <source>全曲データ </source>
        <translation>Full song </translation>
    </message>
    <message>
        <source>部分データ </source>
        <translation>Partial </translation>
    </message>
    <message>
        <source>トラック数 :</source>
        <translation>Tracks :</translation>
    </message>
    <message>
        <source>1トラックデータ</source>
        <translation>1 track</translation>
    </message>
    <message>
        <source>2トラックデータ</source>
        <translation>2 tracks</translation>
    </message>
    <message>
        <source>3トラックデータ</source>
        <translation>3 tracks</translation>
    </message>
    <message>
        <source>4トラックデータ</source>
        <translation>4 tracks</translation>
    </message>
    <message>
        <source>その他のチャンク…</source>
        <translation>Other chunks…</translation>
    </message>
    <message>
        <source>インフォメーション部</source>
        <translation>Information chunks</translation>
    </message>
    <message>
        <source>曲タイトル</source>
        <translation>Song title</translation>
    </message>
    <message>
        <source>16Byteぐらいがいいみたいです</source>
        <translation>About 16 bytes seems best</translation>
    </message>
    <message>
        <source>MLDフォーマットのバージョン情報</source>
        <translation>MLD format version</translation>
    </message>
    <message>
        <source>だいたい0100か0200</source>
        <translation>Usually 0100 or 0200</translation>
    </message>
    <message>
        <source>データ作成の日付</source>
        <translation>Date the data was made</translation>
    </message>
    <message>
        <source>YYYYMMDDがいいみたい</source>
        <translation>YYYYMMDD seems best</translation>
    </message>
    <message>
        <source>著作権情報</source>
        <translation>Copyright</translation>
    </message>
    <message>
        <source>データ管理文字列</source>
        <translation>Data management string</translation>
    </message>
    <message>
        <source>拡張ステータス依存データ長情報</source>
        <translation>Data lengths of the extend statuses</translation>
    </message>
    <message>
        <source>入力経路&#x3000;：</source>
        <translation>Source:</translation>
    </message>
    <message>
        <source>ダウンロード</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>端末の入力機能</source>
        <translation>Entered on the phone</translation>
    </message>
    <message>
        <source>端末の外部I/F</source>
        <translation>Phone&apos;s external I/F</translation>
    </message>
    <message>
        <source>著作権&#x3000;&#x3000;：</source>
        <translation>Copyright:</translation>
    </message>
    <message>
        <source>著作権なし</source>
        <translation>Not protected</translation>
    </message>
    <message>
        <source>著作権あり</source>
        <translation>Protected</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>上書き保存(&amp;U)</source>
        <translation>Save in &amp;Place</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save As</translation>
    </message>
    <message>
        <source>MIDIファイルから作成(&amp;I)…</source>
        <translation>Create from MIDI F&amp;ile…</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>名前を付けて保存します (Ctrl+Shift+S)</source>
        <translation>Saves under a new name (Ctrl+Shift+S)</translation>
    </message>
    <message>
        <source>読み込んだファイルに上書き保存します (Ctrl+S)</source>
        <translation>Saves over the file that was read (Ctrl+S)</translation>
    </message>
    <message>
        <source>最近使ったファイル(&amp;R)</source>
        <translation>&amp;Recent Files</translation>
    </message>
    <message>
        <source>表示(&amp;I)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>エキスパート表示切り替え(&amp;C)</source>
        <translation>Toggle Expert Layout (&amp;C)</translation>
    </message>
    <message>
        <source>MLDファイルをリスト形式で編集(&amp;L)</source>
        <translation>Edit MLD Files as a &amp;List</translation>
    </message>
    <message>
        <source>トラックデータ編集(&amp;T)</source>
        <translation>Edit &amp;Track Data</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>MIDIファイルに書き出し(&amp;M)…</source>
        <translation>Export as &amp;MIDI File…</translation>
    </message>
    <message>
        <source>WAVファイルに書き出し(&amp;W)…</source>
        <translation>Export as &amp;WAV File…</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>再生中 %1:%2</source>
        <translation>Playing %1:%2</translation>
    </message>
    <message>
        <source>(ファイルを読み込んでいません)</source>
        <translation>(no file has been read)</translation>
    </message>
    <message>
        <source>一覧を消去(&amp;C)</source>
        <translation>&amp;Clear List</translation>
    </message>
    <message>
        <source>MIDIファイルから作成</source>
        <translation>Create from MIDI File</translation>
    </message>
    <message>
        <source>MIDIファイルから作成しています…</source>
        <translation>Creating from the MIDI file…</translation>
    </message>
    <message>
        <source>MIDIファイルからの作成を中止しました。表示中の内容はそのままです。</source>
        <translation>Creating from the MIDI file was cancelled. The document shown is unchanged.</translation>
    </message>
    <message>
        <source>保存しました: </source>
        <translation>Saved: </translation>
    </message>
    <message>
        <source> バイト)</source>
        <translation> bytes)</translation>
    </message>
    <message>
        <source>adat : %1個 (%2 バイト)</source>
        <translation>adat : %1 (%2 bytes)</translation>
    </message>
    <message>
        <source>その他のチャンク</source>
        <translation>Other Chunks</translation>
    </message>
    <message>
        <source>タグ</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Content</translation>
    </message>
    <message>
        <source>意味</source>
        <translation>Meaning</translation>
    </message>
    <message>
        <source>…</source>
        <translation>…</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About TONEKIT</translation>
    </message>
    <message>
        <source>了解</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>言語 / Language(&amp;G)</source>
        <translation>Lan&amp;guage / 言語</translation>
    </message>
    <message>
        <source>表示する言語は、次に TONEKIT を起動したときに切り替わります。</source>
        <translation>The language changes the next time TONEKIT starts.</translation>
    </message>
    <message>
        <source>デスクトップの言語に合わせる</source>
        <translation>Same as the Desktop</translation>
    </message>
    <message>
        <source>次の文字はシフトJIS（コードページ932）にないため、「?」に置き換えて保存されます。<byte value="xd"/>
</source>
        <translation>These characters are not in Shift JIS (code page 932) and will be saved as “?”:<byte value="xd"/>
</translation>
    </message>
    <message>
        <source><byte value="xd"/>
よろしいですか？</source>
        <translation><byte value="xd"/>
Continue?</translation>
    </message>
    <message>
        <source>追記</source>
        <translation>Append</translation>
    </message>
    <message>
        <source>置き換え</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>保存しない</source>
        <translation>Don&apos;t Save</translation>
    </message>
    <message>
        <source>(MIDIファイルに音符がありません)</source>
        <translation>(the MIDI file has no notes)</translation>
    </message>
    <message>
        <source>(曲が長すぎて着信メロディにできません)</source>
        <translation>(the song is too long for a ringtone)</translation>
    </message>
    <message>
        <source>(音域内の音符がありません: 音域外 </source>
        <translation>(no notes within range: out of range </translation>
    </message>
    <message>
        <source>システムエクスクルーシブ</source>
        <translation>System exclusive</translation>
    </message>
    <message>
        <source>ポリフォニックキープレッシャー</source>
        <translation>Polyphonic key pressure</translation>
    </message>
    <message>
        <source>チャンネルプレッシャー</source>
        <translation>Channel pressure</translation>
    </message>
    <message>
        <source>ピッチベンド</source>
        <translation>Pitch bend</translation>
    </message>
    <message>
        <source>プログラムチェンジ</source>
        <translation>Program change</translation>
    </message>
    <message>
        <source>ノートオンのないノートオフ</source>
        <translation>Note off without note on</translation>
    </message>
    <message>
        <source>シーケンス番号</source>
        <translation>Sequence number</translation>
    </message>
    <message>
        <source>テキスト</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>著作権表示</source>
        <translation>Copyright notice</translation>
    </message>
    <message>
        <source>トラック名</source>
        <translation>Track name</translation>
    </message>
    <message>
        <source>楽器名</source>
        <translation>Instrument name</translation>
    </message>
    <message>
        <source>歌詞</source>
        <translation>Lyric</translation>
    </message>
    <message>
        <source>マーカー</source>
        <translation>Marker</translation>
    </message>
    <message>
        <source>チャンネルプリフィックス</source>
        <translation>Channel prefix</translation>
    </message>
    <message>
        <source>ポート指定</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>SMPTE オフセット</source>
        <translation>SMPTE offset</translation>
    </message>
    <message>
        <source>拍子</source>
        <translation>Time signature</translation>
    </message>
    <message>
        <source>調</source>
        <translation>Key signature</translation>
    </message>
    <message>
        <source>シーケンサー固有のデータ</source>
        <translation>Sequencer-specific data</translation>
    </message>
    <message>
        <source>バンクセレクト</source>
        <translation>Bank select</translation>
    </message>
    <message>
        <source>モジュレーション</source>
        <translation>Modulation</translation>
    </message>
    <message>
        <source>ポルタメントタイム</source>
        <translation>Portamento time</translation>
    </message>
    <message>
        <source>データエントリー</source>
        <translation>Data entry</translation>
    </message>
    <message>
        <source>ボリューム</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>パン</source>
        <translation>Pan</translation>
    </message>
    <message>
        <source>エクスプレッション</source>
        <translation>Expression</translation>
    </message>
    <message>
        <source>バンクセレクト LSB</source>
        <translation>Bank select LSB</translation>
    </message>
    <message>
        <source>データエントリー LSB</source>
        <translation>Data entry LSB</translation>
    </message>
    <message>
        <source>ダンパー</source>
        <translation>Damper</translation>
    </message>
    <message>
        <source>ポルタメント</source>
        <translation>Portamento</translation>
    </message>
    <message>
        <source>ソステヌート</source>
        <translation>Sostenuto</translation>
    </message>
    <message>
        <source>ソフト</source>
        <translation>Soft</translation>
    </message>
    <message>
        <source>リバーブ</source>
        <translation>Reverb</translation>
    </message>
    <message>
        <source>コーラス</source>
        <translation>Chorus</translation>
    </message>
    <message>
        <source>ディレイ</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>オールサウンドオフ</source>
        <translation>All sound off</translation>
    </message>
    <message>
        <source>リセットオールコントローラー</source>
        <translation>Reset all controllers</translation>
    </message>
    <message>
        <source>オールノートオフ</source>
        <translation>All notes off</translation>
    </message>
    <message>
        <source>コントロールチェンジ </source>
        <translation>Control change </translation>
    </message>
    <message>
        <source>メタイベント </source>
        <translation>Meta event </translation>
    </message>
    <message>
        <source>音域外で除いた音符 : </source>
        <translation>Notes dropped as out of range : </translation>
    </message>
    <message>
        <source>255ティックに切り詰めた音符 : </source>
        <translation>Notes cut to 255 ticks : </translation>
    </message>
    <message>
        <source>切り詰めで短くなった長さ (最大) : </source>
        <translation>Length lost by cutting (longest) : </translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>ダンパーペダルで長くした音符 : </source>
        <translation>Notes lengthened by the damper pedal : </translation>
    </message>
    <message>
        <source>ペダルで長くしたが255ティックに切り詰めた音符 : </source>
        <translation>Notes lengthened by the pedal but cut to 255 ticks : </translation>
    </message>
    <message>
        <source>途中で壊れていたトラック : </source>
        <translation>Tracks damaged partway : </translation>
    </message>
    <message>
        <source>（読めたところまで変換）</source>
        <translation> (converted as far as they could be read)</translation>
    </message>
    <message>
        <source>そのままでは入らなかった文字列 : </source>
        <translation>Texts that did not fit as they were : </translation>
    </message>
    <message>
        <source>変換しなかったイベント </source>
        <translation>Events not converted: </translation>
    </message>
    <message>
        <source>値が変わらないため間引いたイベント </source>
        <translation>Events thinned out as their value did not change: </translation>
    </message>
    <message>
        <source>(MIDIファイルのヘッダ&quot;MThd&quot;がありません)</source>
        <translation>(the MIDI file has no &quot;MThd&quot; header)</translation>
    </message>
    <message>
        <source>(MIDIヘッダが途中で切れています)</source>
        <translation>(the MIDI header is cut short)</translation>
    </message>
    <message>
        <source>(フォーマット2のMIDIファイル（独立した複数のシーケンス）は変換できません)</source>
        <translation>(format 2 MIDI files (several independent sequences) cannot be converted)</translation>
    </message>
    <message>
        <source>(MIDIファイルのフォーマット </source>
        <translation>(MIDI file format </translation>
    </message>
    <message>
        <source> は変換できません)</source>
        <translation> cannot be converted)</translation>
    </message>
    <message>
        <source>(時間単位がSMPTE形式のMIDIファイルは変換できません)</source>
        <translation>(MIDI files with SMPTE time division cannot be converted)</translation>
    </message>
    <message>
        <source>(MIDIファイルの時間単位が0です)</source>
        <translation>(the MIDI file&apos;s time division is 0)</translation>
    </message>
    <message>
        <source>(トラック&quot;MTrk&quot;がありません)</source>
        <translation>(no &quot;MTrk&quot; track)</translation>
    </message>
    <message>
        <source>(MIDIヘッダが途中で切れています: </source>
        <translation>(the MIDI header is cut short: </translation>
    </message>
    <message>
        <source> (通常のファイルではありません)</source>
        <translation> (not a regular file)</translation>
    </message>
    <message>
        <source>中止しました。 (</source>
        <translation>Cancelled. (</translation>
    </message>
    <message>
        <source>General MIDI の音色ファイル (SoundFont) が見つかりません。timgm6mb-soundfont パッケージを入れるか、TONEKIT_SOUNDFONT で音色ファイルを指定してください。</source>
        <translation>No General MIDI SoundFont was found. Install the timgm6mb-soundfont package, or name a SoundFont file with TONEKIT_SOUNDFONT.</translation>
    </message>
    <message>
        <source>音を出す装置が使えないため再生できません。MIDI ファイルや WAV ファイルへの書き出しはできます。</source>
        <translation>Cannot play: no sound device is available. Exporting MIDI and WAV files still works.</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>MIDIファイルに書き出しました: %1<byte value="xd"/>
<byte value="xd"/>
音符: %2 (書き出せなかった音符: %3)<byte value="xd"/>
書き出せなかったイベント: %4<byte value="xd"/>
チャンネル: %5<byte value="xd"/>
テンポ変更: %6<byte value="xd"/>
ループ: %7<byte value="xd"/>
ジャンプ: %8<byte value="xd"/>
長さ: %9 ティック、%10 秒<byte value="xd"/>
壊れたトラック: %11<byte value="xd"/>
オーディオのイベント: %12 (メーカー独自: %13)</source>
        <translation>Exported as a MIDI file: %1<byte value="xd"/>
<byte value="xd"/>
Notes: %2 (not exported: %3)<byte value="xd"/>
Events not exported: %4<byte value="xd"/>
Channels: %5<byte value="xd"/>
Tempo changes: %6<byte value="xd"/>
Loops: %7<byte value="xd"/>
Jumps: %8<byte value="xd"/>
Length: %9 ticks, %10 s<byte value="xd"/>
Damaged tracks: %11<byte value="xd"/>
Audio events: %12 (vendor-specific: %13)</translation>
    </message>
    <message>
        <source>WAVファイルに書き出しました: %1<byte value="xd"/>
<byte value="xd"/>
音符: %2 (書き出せなかった音符: %3)<byte value="xd"/>
テンポ変更: %4<byte value="xd"/>
ループ: %5<byte value="xd"/>
ジャンプ: %6<byte value="xd"/>
長さ: %7 ティック、%8 秒<byte value="xd"/>
WAV: %9 Hz、%10 フレーム、%11 秒</source>
        <translation>Exported as a WAV file: %1<byte value="xd"/>
<byte value="xd"/>
Notes: %2 (not exported: %3)<byte value="xd"/>
Tempo changes: %4<byte value="xd"/>
Loops: %5<byte value="xd"/>
Jumps: %6<byte value="xd"/>
Length: %7 ticks, %8 s<byte value="xd"/>
WAV: %9 Hz, %10 frames, %11 s</translation>
    </message>
    <message>
        <source>MIDIファイルに書き出し</source>
        <translation>Export as MIDI File</translation>
    </message>
    <message>
        <source>MIDIファイル (*.mid)|*.mid</source>
        <translation>MIDI files (*.mid)|*.mid</translation>
    </message>
    <message>
        <source>MIDIファイルに書き出しています…</source>
        <translation>Exporting the MIDI file…</translation>
    </message>
    <message>
        <source>MIDIファイルへの書き出しを中止しました。ファイルは書き込まれていません。</source>
        <translation>The MIDI export was cancelled. No file was written.</translation>
    </message>
    <message>
        <source>WAVファイルに書き出し</source>
        <translation>Export as WAV File</translation>
    </message>
    <message>
        <source>WAVファイル (*.wav)|*.wav</source>
        <translation>WAV files (*.wav)|*.wav</translation>
    </message>
    <message>
        <source>WAVファイルに書き出しています…</source>
        <translation>Exporting the WAV file…</translation>
    </message>
    <message>
        <source>WAVファイルへの書き出しを中止しました。ファイルは書き込まれていません。</source>
        <translation>The WAV export was cancelled. No file was written.</translation>
    </message>
    <message>
        <source>この曲の音は機種独自の音声データ (機種依存イベント %1 個) で、TONEKIT では再生できません。</source>
        <translation>This song&apos;s sound is vendor-specific audio data (%1 device-dependent events), which TONEKIT cannot play.</translation>
    </message>
    <message>
        <source>音符だけを再生します。</source>
        <translation>Only the notes will play.</translation>
    </message>
    <message>
        <source>？</source>
        <translation>?</translation>
    </message>
    <message>
        <source>ドラムチャンネル設定</source>
        <translation>Drum channel</translation>
    </message>
    <message>
        <source>音色(2～7Bit目)</source>
        <translation>Voice (bits 2–7)</translation>
    </message>
    <message>
        <source>音色(1Bit目)</source>
        <translation>Voice (bit 1)</translation>
    </message>
    <message>
        <source>音色編集</source>
        <translation>Voice edit</translation>
    </message>
    <message>
        <source>ビブラート</source>
        <translation>Vibrato</translation>
    </message>
    <message>
        <source>機種依存</source>
        <translation>Device-dependent</translation>
    </message>
    <message>
        <source>オーディオ再生開始</source>
        <translation>Audio start</translation>
    </message>
    <message>
        <source>オーディオ再生停止</source>
        <translation>Audio stop</translation>
    </message>
    <message>
        <source>オーディオ音量</source>
        <translation>Audio volume</translation>
    </message>
    <message>
        <source>オーディオパン</source>
        <translation>Audio pan</translation>
    </message>
    <message>
        <source>オーディオ設定</source>
        <translation>Audio setting</translation>
    </message>
    <message>
        <source>0 ～ 3の範囲で入力してください。</source>
        <translation>Please enter a value from 0 to 3.</translation>
    </message>
    <message>
        <source>0 ～ 255の範囲で入力してください。</source>
        <translation>Please enter a value from 0 to 255.</translation>
    </message>
    <message>
        <source>0 ～ 62の範囲で入力してください。</source>
        <translation>Please enter a value from 0 to 62.</translation>
    </message>
    <message>
        <source>0 ～ 63の範囲で入力してください。</source>
        <translation>Please enter a value from 0 to 63.</translation>
    </message>
    <message>
        <source>(ノート長: </source>
        <translation>(note length: </translation>
    </message>
    <message>
        <source>イベントNo</source>
        <translation>Event No.</translation>
    </message>
    <message>
        <source>音程</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>音の長さ</source>
        <translation>Gate time</translation>
    </message>
    <message>
        <source>音の強さ</source>
        <translation>Velocity</translation>
    </message>
    <message>
        <source>ｵｸﾀｰﾌﾞｼﾌﾄ</source>
        <translation>Octave shift</translation>
    </message>
    <message>
        <source>備考</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>ド</source>
        <translation>do</translation>
    </message>
    <message>
        <source>#ド</source>
        <translation>di</translation>
    </message>
    <message>
        <source>レ</source>
        <translation>re</translation>
    </message>
    <message>
        <source>#レ</source>
        <translation>ri</translation>
    </message>
    <message>
        <source>ミ</source>
        <translation>mi</translation>
    </message>
    <message>
        <source>ファ</source>
        <translation>fa</translation>
    </message>
    <message>
        <source>#ファ</source>
        <translation>fi</translation>
    </message>
    <message>
        <source>ソ</source>
        <translation>sol</translation>
    </message>
    <message>
        <source>#ソ</source>
        <translation>si</translation>
    </message>
    <message>
        <source>ラ</source>
        <translation>la</translation>
    </message>
    <message>
        <source>#ラ</source>
        <translation>li</translation>
    </message>
    <message>
        <source>シ</source>
        <translation>ti</translation>
    </message>
    <message>
        <source>・</source>
        <translation>·</translation>
    </message>
    <message>
        <source>無音</source>
        <translation>silent</translation>
    </message>
    <message>
        <source>再生時の音量 </source>
        <translation>plays at volume </translation>
    </message>
    <message>
        <source>(ファイルが読み込まれていません)</source>
        <translation>(no file has been read)</translation>
    </message>
    <message>
        <source>Δタイム&#x3000;：</source>
        <translation>Delta time:</translation>
    </message>
    <message>
        <source>チャネル&#x3000;：</source>
        <translation>Channel:</translation>
    </message>
    <message>
        <source>音程&#x3000;：</source>
        <translation>Pitch:</translation>
    </message>
    <message>
        <source>音の長さ&#x3000;：</source>
        <translation>Gate time:</translation>
    </message>
    <message>
        <source>音の強さ&#x3000;：</source>
        <translation>Velocity:</translation>
    </message>
    <message>
        <source>オクターブシフト&#x3000;：</source>
        <translation>Octave shift:</translation>
    </message>
    <message>
        <source>ノート編集</source>
        <translation>Edit Note</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>ノートを編集</source>
        <translation>Edit Note</translation>
    </message>
    <message>
        <source>ノートを挿入</source>
        <translation>Insert Note</translation>
    </message>
    <message>
        <source>ノートを削除</source>
        <translation>Delete Note</translation>
    </message>
    <message>
        <source>拡張ステータス情報を挿入</source>
        <translation>Insert Extend Status</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>トラック %1 - TracData</source>
        <translation>Track %1 - TracData</translation>
    </message>
    <message>
        <source>このトラックは壊れています。イベントの </source>
        <translation>This track is damaged: from byte </translation>
    </message>
    <message>
        <source> バイト目から先が正しく区切れないか、EndOfTrack がありません。区切れない部分は再生と書き出しで省きます。</source>
        <translation> of its events on, the events cannot be told apart, or there is no EndOfTrack. Playback and export leave out the part that cannot be read.</translation>
    </message>
    <message>
        <source>挿入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>を削除します。よろしいですか？</source>
        <translation>: this event will be deleted. Continue?</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>変更箇所はリセットされてしまいます。よろしいですか？</source>
        <translation>Your changes will be reset. Continue?</translation>
    </message>
    <message>
        <source>ここから再生</source>
        <translation>Play from Here</translation>
    </message>
    <message>
        <source>%1行目: </source>
        <translation>Line %1: </translation>
    </message>
    <message>
        <source>:/main_window/version_notes.txt</source>
        <translation>:/main_window/version_notes_en.txt</translation>
    </message>
    <message>
        <source>再生できません: </source>
        <translation>Cannot be played: </translation>
    </message>
    <message>
        <source>ステレオ</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>モノラル</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>番号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>形式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>周波数</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>ビット</source>
        <translation>Bits</translation>
    </message>
    <message>
        <source>チャンネル</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>この録音は再生できません (%1)。</source>
        <translation>This recording cannot be played (%1).</translation>
    </message>
    <message>
        <source>(保存先のファイルがありません)</source>
        <translation>(no file to save to)</translation>
    </message>
    <message>
        <source><byte value="xd"/>
MIDIファイルに入らない録音 (adat): %1 個</source>
        <translation><byte value="xd"/>
Recordings a MIDI file cannot hold (adat): %1</translation>
    </message>
</context>
</TS>
