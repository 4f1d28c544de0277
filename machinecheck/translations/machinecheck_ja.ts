<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Check</name>
    <message>
        <source>lit</source>
        <translation>点灯</translation>
    </message>
    <message>
        <source>unlit</source>
        <translation>消灯</translation>
    </message>
    <message>
        <source>flash</source>
        <translation>フラッシュ</translation>
    </message>
    <message>
        <source>blink</source>
        <translation>点滅</translation>
    </message>
    <message>
        <source>left</source>
        <translation>左</translation>
    </message>
    <message>
        <source>centre</source>
        <translation>中</translation>
    </message>
    <message>
        <source>right</source>
        <translation>右</translation>
    </message>
    <message>
        <source>%1 holds no .orf, .sdf, .rcf or .ppf file</source>
        <translation>%1 には .orf、.sdf、.rcf、.ppf のファイルがありません</translation>
    </message>
    <message>
        <source>%1 is %2, not a file: no editor can read it</source>
        <translation>%1 は%2で、ファイルではありません。どのエディタも読めません</translation>
    </message>
    <message>
        <source>no reel data file (.sdf) in the folder: the layout of the assignment section is not checked</source>
        <translation>フォルダにリールデータファイル (.sdf) がありません。割り当て部分の並びは調べていません</translation>
    </message>
    <message>
        <source>no .orf, and no .sdf of the same name: the layout of the assignment section is not checked</source>
        <translation>.orf がなく、同じ名前の .sdf もありません。割り当て部分の並びは調べていません</translation>
    </message>
    <message>
        <source>%1 %2 is not a bare file name: the editors look only in the machine&apos;s folder</source>
        <translation>%1 %2 はフォルダ名の付いた名前です。エディタは機種のフォルダの中だけを探します</translation>
    </message>
    <message>
        <source>%1 %2 is missing from the folder</source>
        <translation>%1 %2 がフォルダにありません</translation>
    </message>
    <message>
        <source>%1 %2 is %3 in the folder, not a file: the editors cannot read it</source>
        <translation>%1 %2 はフォルダの中で%3になっていて、ファイルではありません。エディタは読めません</translation>
    </message>
    <message>
        <source>%1 %2 is found only as %3: the editors find it, as they try every letter case, and so does the simulator on Windows, whose file systems do not tell cases apart; a program that opens the exact name on a file system that tells cases apart (as Linux&apos;s do) does not</source>
        <translation>%1 %2 は大文字・小文字の違う %3 としてしか見つかりません。エディタはどの大文字・小文字でも探すので見つけ、大文字と小文字を区別しないファイルシステムの Windows で動くシミュレータも見つけますが、大文字と小文字を区別するファイルシステム (Linux のものなど) で名前をそのまま開くプログラムは見つけられません</translation>
    </message>
    <message>
        <source>the picture cannot be decoded (%1, line %2 of %3): %4</source>
        <translation>画像を読み込めません (%1、%3 の %2 行目): %4</translation>
    </message>
    <message>
        <source>%1 %2 is a PNG picture: the editors show it, but the simulator takes GIF, JPEG and BMP pictures and may not show it</source>
        <translation>%1 %2 は PNG 画像です。エディタは表示しますが、シミュレータが読む画像は GIF、JPEG、BMP なので、表示されないことがあります</translation>
    </message>
    <message>
        <source>cannot read the file: </source>
        <translation>ファイルを読めません: </translation>
    </message>
    <message>
        <source>reelboard refuses this reel data file</source>
        <translation>reelboard はこのリールデータファイルを読めません</translation>
    </message>
    <message>
        <source>stopboard and specboard refuse this reel data file</source>
        <translation>stopboard と specboard はこのリールデータファイルを読めません</translation>
    </message>
    <message>
        <source>the file ends after the reel arrangement: it holds no prizes, and stopboard and specboard keep the prizes they had</source>
        <translation>リール配列の後でファイルが終わっています。役がなく、stopboard と specboard はそれまでの役をそのまま使います</translation>
    </message>
    <message>
        <source>LastPrizeIndex %1 is above %2: a reel control file holds flags 0 to LastPrizeIndex + 1, at most flag %3%4</source>
        <translation>LastPrizeIndex %1 が %2 を超えています。リール制御ファイルが持つフラグは 0 から LastPrizeIndex + 1 まで、多くてフラグ %3 までです%4</translation>
    </message>
    <message>
        <source>, and it is above %1, the most a machine file (.orf) holds</source>
        <translation>。また、機種ファイル (.orf) が持てる最大の %1 も超えています</translation>
    </message>
    <message>
        <source>the %1 picture of symbol %2</source>
        <translation>図柄%2の%1画像</translation>
    </message>
    <message>
        <source>prize %1, %2 reel: symbol %3 is neither 0 to 6 nor 100 (any symbol)</source>
        <translation>役 %1、%2リール: 図柄 %3 は 0 から 6 でも 100 (どの図柄でも) でもありません</translation>
    </message>
    <message>
        <source>prize %1, %2: pay %3 is outside 0..%4</source>
        <translation>役 %1、%2: 払い出し %3 が 0 から %4 の範囲外です</translation>
    </message>
    <message>
        <source>prize %1, %2: kind %3 is outside 0..7</source>
        <translation>役 %1、%2: 種類 %3 が 0 から 7 の範囲外です</translation>
    </message>
    <message>
        <source>stopboard refuses this reel control file</source>
        <translation>stopboard はこのリール制御ファイルを読めません</translation>
    </message>
    <message>
        <source>the assignment section holds %1 lines, which fits no LastPrizeIndex (%2 lines a flag, flags 0 to LastPrizeIndex + 1): the file is cut short or damaged</source>
        <translation>割り当て部分は %1 行で、どの LastPrizeIndex にも合いません (1 フラグ %2 行、フラグは 0 から LastPrizeIndex + 1)。ファイルが途中で切れているか、壊れています</translation>
    </message>
    <message>
        <source>the assignment section was written for LastPrizeIndex %1, but %2 has LastPrizeIndex %3: stopboard reads every assignment after the first key group (通常時, ボーナス否成立, 1BET, 左中右) for another key</source>
        <translation>割り当て部分は LastPrizeIndex %1 で書かれていますが、%2 の LastPrizeIndex は %3 です。stopboard は最初の組 (通常時、ボーナス否成立、1BET、左中右) より後の割り当てを、どれも別の組み合わせのものとして読みます</translation>
    </message>
    <message>
        <source>stop table %1, %2 reel, position %3: stop index %4 is outside 0..4</source>
        <translation>停止テーブル %1、%2リール、位置 %3: すべり %4 が 0 から 4 の範囲外です</translation>
    </message>
    <message>
        <source>assignment of %1, %2, %3BET, %4, flag %5, big type %6, first stop position %7: base table %8 is outside 1..512</source>
        <translation>%1、%2、%3BET、%4、フラグ %5、ビッグの種類 %6、第１リール停止位置 %7 の割り当て: 基本テーブル %8 が 1 から 512 の範囲外です</translation>
    </message>
    <message>
        <source>base table %1, slot %2: %3 %4 is outside %5..%6</source>
        <translation>基本テーブル %1、テーブル%2: %3 %4 が %5 から %6 の範囲外です</translation>
    </message>
    <message>
        <source>probability</source>
        <translation>確率</translation>
    </message>
    <message>
        <source>stop table</source>
        <translation>停止テーブル</translation>
    </message>
    <message>
        <source>base table %1%2: the probabilities of its slots add up to %3, not 256</source>
        <translation>基本テーブル %1%2: 確率の合計が 256 ではなく %3 です</translation>
    </message>
    <message>
        <source> (assigned)</source>
        <translation> (割り当てあり)</translation>
    </message>
    <message>
        <source>specboard refuses this machine file</source>
        <translation>specboard はこの機種ファイルを読めません</translation>
    </message>
    <message>
        <source>names no reel data file (.sdf)</source>
        <translation>リールデータファイル (.sdf) の名前がありません</translation>
    </message>
    <message>
        <source>the reel data file</source>
        <translation>リールデータファイル</translation>
    </message>
    <message>
        <source>the payout sound section fits no flag count: %1 has LastPrizeIndex %2, which needs %3 lines</source>
        <translation>払い出し音の部分がどのフラグ数にも合いません。%1 の LastPrizeIndex は %2 で、%3 行が必要です</translation>
    </message>
    <message>
        <source>the payout sound section was written for %1 flags (LastPrizeIndex %2), but %3 has LastPrizeIndex %4: specboard reads the payout sounds for other flags</source>
        <translation>払い出し音の部分は %1 フラグ (LastPrizeIndex %2) で書かれていますが、%3 の LastPrizeIndex は %4 です。specboard は払い出し音を別のフラグのものとして読みます</translation>
    </message>
    <message>
        <source>the sound settings end early, and specboard keeps the sound settings it had: </source>
        <translation>音設定が途中で終わっていて、specboard はそれまでの音設定をそのまま使います: </translation>
    </message>
    <message>
        <source>names no reel control file (.rcf)</source>
        <translation>リール制御ファイル (.rcf) の名前がありません</translation>
    </message>
    <message>
        <source>the reel control file</source>
        <translation>リール制御ファイル</translation>
    </message>
    <message>
        <source>names no picture position file (.ppf)</source>
        <translation>画像位置ファイル (.ppf) の名前がありません</translation>
    </message>
    <message>
        <source>the picture position file</source>
        <translation>画像位置ファイル</translation>
    </message>
    <message>
        <source>%1 is empty (the box shows 0 when left)</source>
        <translation>%1 が空です (欄を離れると 0 になります)</translation>
    </message>
    <message>
        <source>%1: %2 is not a number from 0 to %3</source>
        <translation>%1: %2 は 0 から %3 の数ではありません</translation>
    </message>
    <message>
        <source>%1: %2 is outside %3..%4</source>
        <translation>%1: %2 が %3 から %4 の範囲外です</translation>
    </message>
    <message>
        <source>減算値 of setting %1</source>
        <translation>設定 %1 の減算値</translation>
    </message>
    <message>
        <source>flag %1, setting %2, %3BET, %4: probability</source>
        <translation>フラグ %1、設定 %2、%3BET、%4 の確率</translation>
    </message>
    <message>
        <source>setting %1, %2BET, %3: the probabilities of the %4 flags add up to %5, above 65536</source>
        <translation>設定 %1、%2BET、%3: %4 フラグの確率の合計が %5 で、65536 を超えています</translation>
    </message>
    <message>
        <source>CT entry percentage for ビッグ%1</source>
        <translation>ビッグ%1 の CT 突入率</translation>
    </message>
    <message>
        <source>CT end condition 枚純増</source>
        <translation>CT終了条件 枚純増</translation>
    </message>
    <message>
        <source>CT end condition プレイ終了</source>
        <translation>CT終了条件 プレイ終了</translation>
    </message>
    <message>
        <source>super big: ビッグ%1 lined up becomes ビッグ%2, percentage</source>
        <translation>スーパービッグ: ビッグ%1が揃いビッグ%2になる率</translation>
    </message>
    <message>
        <source>bonus end BB games (G行うか)</source>
        <translation>ボーナス終了条件 BB (G行うか)</translation>
    </message>
    <message>
        <source>bonus end BB regular bonuses (回RB)</source>
        <translation>ボーナス終了条件 BB (回RB)</translation>
    </message>
    <message>
        <source>bonus end RB games (G行うか)</source>
        <translation>ボーナス終了条件 RB (G行うか)</translation>
    </message>
    <message>
        <source>bonus end RB wins (回入賞)</source>
        <translation>ボーナス終了条件 RB (回入賞)</translation>
    </message>
    <message>
        <source>pay line %1 of %2BET</source>
        <translation>%2BET のライン %1</translation>
    </message>
    <message>
        <source>line cell</source>
        <translation>ラインのマス</translation>
    </message>
    <message>
        <source>%1, %2 reel, %3: cell value %4 is neither 0 nor 1</source>
        <translation>%1、%2リール、%3: マスの値 %4 が 0 でも 1 でもありません</translation>
    </message>
    <message>
        <source>%1 has %2 cells%3; a line has none or three, one on each reel</source>
        <translation>%1 のマスが %2 個です%3。ラインのマスは 0 個か、各リールに 1 個ずつの 3 個です</translation>
    </message>
    <message>
        <source>, two on one reel</source>
        <translation>、1 つのリールに 2 個</translation>
    </message>
    <message>
        <source>: region number (領域番号)</source>
        <translation>: 領域番号</translation>
    </message>
    <message>
        <source>%1: sound number %2 is outside 0..128</source>
        <translation>%1: 音の番号 %2 が 0 から 128 の範囲外です</translation>
    </message>
    <message>
        <source>%1: sound %2 names an empty entry of the sound registry</source>
        <translation>%1: 音 %2 は登録のない番号です</translation>
    </message>
    <message>
        <source>%1: probability %2 is outside 0..65536</source>
        <translation>%1: 確率 %2 が 0 から 65536 の範囲外です</translation>
    </message>
    <message>
        <source>%1: the check value %2 is neither 0 nor 1</source>
        <translation>%1: チェックの値 %2 が 0 でも 1 でもありません</translation>
    </message>
    <message>
        <source>%1, candidate %2</source>
        <translation>%1、候補 %2</translation>
    </message>
    <message>
        <source>%1: the probabilities of the candidates add up to %2, above 65536</source>
        <translation>%1: 候補の確率の合計が %2 で、65536 を超えています</translation>
    </message>
    <message>
        <source>payout sound of flag %1, %2, %3</source>
        <translation>フラグ %1 の払い出し音、%2、%3</translation>
    </message>
    <message>
        <source>BGM %1</source>
        <translation>BGM %1</translation>
    </message>
    <message>
        <source>sound %1</source>
        <translation>音 %1</translation>
    </message>
    <message>
        <source>%1 %2 is neither a WAV (.wav) nor a MIDI (.mid) file: specboard cannot play it</source>
        <translation>%1 %2 は WAV (.wav) でも MIDI (.mid) でもありません。specboard は鳴らせません</translation>
    </message>
    <message>
        <source>%1 %2: specboard plays a sound only when its name ends in a lower-case &quot;v&quot; or &quot;d&quot; (.wav, .mid)</source>
        <translation>%1 %2: specboard が鳴らすのは、名前が小文字の &quot;v&quot; か &quot;d&quot; で終わる音 (.wav、.mid) だけです</translation>
    </message>
    <message>
        <source>cannot read the sound file: </source>
        <translation>音のファイルを読めません: </translation>
    </message>
    <message>
        <source>the sound cannot be decoded (%1, line %2 of %3): %4</source>
        <translation>音を読み込めません (%1、%3 の %2 行目): %4</translation>
    </message>
    <message>
        <source>posboard refuses this picture position file</source>
        <translation>posboard はこの画像位置ファイルを読めません</translation>
    </message>
    <message>
        <source>the count line says %1; posboard writes 32 and reads 33 entries whatever it says</source>
        <translation>数の行が %1 です。posboard は 32 と書き、数にかかわらず 33 項目を読みます</translation>
    </message>
    <message>
        <source>the picture of slot %1</source>
        <translation>%1 の画像</translation>
    </message>
    <message>
        <source>%1: the rectangle %2 is not a rectangle on a picture</source>
        <translation>%1: 範囲 %2 は画像の上の四角形になっていません</translation>
    </message>
    <message>
        <source>%1: the correction value %2 is not a whole number</source>
        <translation>%1: 補正値 %2 が整数ではありません</translation>
    </message>
    <message>
        <source>%1: the picture slot %2 is not one digit 0 to 8</source>
        <translation>%1: 画像番号 %2 が 0 から 8 の 1 桁ではありません</translation>
    </message>
    <message>
        <source>%1 names picture slot %2, which holds no picture</source>
        <translation>%1 の画像 %2 には画像がありません</translation>
    </message>
    <message>
        <source>%1 is a numeric display, but names the cabinet picture slot %2, not a numeral picture (slots 5 to 8)</source>
        <translation>%1 は数値表示ですが、数値画像 (5 から 8) ではなく筐体画像の %2 を指しています</translation>
    </message>
    <message>
        <source>%1: the rectangle %2 reaches outside its picture %3 (%4 x %5)</source>
        <translation>%1: 範囲 %2 が画像 %3 (%4 x %5) の外にはみ出しています</translation>
    </message>
</context>
<context>
    <name>ControlText</name>
    <message>
        <source>(standard input)</source>
        <translation>(標準入力)</translation>
    </message>
    <message>
        <source>(standard output)</source>
        <translation>(標準出力)</translation>
    </message>
    <message>
        <source>%1: error: the output is the input %2 itself; nothing written
</source>
        <translation>%1: エラー: 出力先が入力の %2 そのものです。何も書いていません
</translation>
    </message>
    <message>
        <source>%1: error: is a folder; nothing written
</source>
        <translation>%1: エラー: フォルダです。何も書いていません
</translation>
    </message>
    <message>
        <source>%1: error: already exists; give --force to replace it
</source>
        <translation>%1: エラー: すでにあります。置き換えるには --force を付けてください
</translation>
    </message>
    <message>
        <source>the line does not end with CR LF</source>
        <translation>行が CR LF で終わっていません</translation>
    </message>
    <message>
        <source>the last line does not end with CR LF</source>
        <translation>最後の行が CR LF で終わっていません</translation>
    </message>
    <message>
        <source>the text does not read as control data: </source>
        <translation>リール制御のデータとして読めません: </translation>
    </message>
    <message>
        <source>%1 does not read back as written: stopboard would write %2</source>
        <translation>%1 は書いたとおりに読み戻せません。stopboard なら %2 と書きます</translation>
    </message>
    <message>
        <source>%1: error: cannot unpack: %2
</source>
        <translation>%1: エラー: 取り出せません: %2
</translation>
    </message>
    <message>
        <source>%1: error: cannot write: %2
</source>
        <translation>%1: エラー: 書き込めません: %2
</translation>
    </message>
    <message>
        <source>%1: error: cannot read: %2
</source>
        <translation>%1: エラー: 読めません: %2
</translation>
    </message>
    <message>
        <source>: error: </source>
        <translation>: エラー: </translation>
    </message>
    <message>
        <source>; nothing written
</source>
        <translation>。何も書いていません
</translation>
    </message>
</context>
<context>
    <name>Findings</name>
    <message>
        <source>... and %1 more like the one above</source>
        <translation>…ほかに同じ種類が %1 件</translation>
    </message>
    <message>
        <source>error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
</context>
<context>
    <name>MachineFiles</name>
    <message>
        <source>cannot read standard input: %1</source>
        <translation>標準入力を読めません: %1</translation>
    </message>
    <message>
        <source>the text cannot be packed: %1</source>
        <translation>テキストを書庫にできません: %1</translation>
    </message>
    <message>
        <source>cannot write standard output: %1</source>
        <translation>標準出力に書けません: %1</translation>
    </message>
</context>
<context>
    <name>MachineFolder</name>
    <message>
        <source>there is no such folder</source>
        <translation>そのフォルダはありません</translation>
    </message>
    <message>
        <source>permission denied (a folder on the way, or the folder itself, may not be read or entered)</source>
        <translation>読む許可がありません（途中のフォルダかそのフォルダ自身を読むことも開くこともできません）</translation>
    </message>
    <message>
        <source>a name in the path is %1 bytes long, longer than the %2 the system takes</source>
        <translation>パスの中の名前が %1 バイトあり、システムが扱える %2 バイトを超えています</translation>
    </message>
    <message>
        <source>a part of the path is not a folder</source>
        <translation>パスの途中にフォルダでないものがあります</translation>
    </message>
    <message>
        <source>the path runs through too many symbolic links</source>
        <translation>パスがたどるシンボリックリンクが多すぎます</translation>
    </message>
    <message>
        <source>the path is %1 bytes long, longer than the %2 the system takes</source>
        <translation>パスが %1 バイトあり、システムが扱える %2 バイトより長いです</translation>
    </message>
    <message>
        <source>cannot read the folder %1: %2</source>
        <translation>フォルダ %1 を読めません: %2</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 はフォルダではありません</translation>
    </message>
    <message>
        <source>a file</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>a FIFO</source>
        <translation>FIFO</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ソケット</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>デバイス</translation>
    </message>
    <message>
        <source>a link to nothing</source>
        <translation>行き先のないリンク</translation>
    </message>
    <message>
        <source>an entry that cannot be looked at</source>
        <translation>中を調べられない項目</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Usage: machinecheck check FOLDER [--json]
       machinecheck sheet FOLDER|FILE.orf [-o FILE.html] [--force]
       machinecheck unpack FILE.rcf [OUT.txt] [--force]
       machinecheck pack TEXT OUT.rcf --lpi N [--force]
       machinecheck --help
</source>
        <translation>使い方: machinecheck check FOLDER [--json]
        machinecheck sheet FOLDER|FILE.orf [-o FILE.html] [--force]
        machinecheck unpack FILE.rcf [OUT.txt] [--force]
        machinecheck pack TEXT OUT.rcf --lpi N [--force]
        machinecheck --help
</translation>
    </message>
    <message>
        <source>unknown option %1 for check</source>
        <translation>check に %1 というオプションはありません</translation>
    </message>
    <message>
        <source>check takes one folder</source>
        <translation>check に渡すフォルダは 1 つです</translation>
    </message>
    <message>
        <source>check needs a FOLDER</source>
        <translation>check には FOLDER が必要です</translation>
    </message>
    <message>
        <source>machinecheck: %1: %2, %3
</source>
        <translation>machinecheck: %1: %2、%3
</translation>
    </message>
    <message numerus="yes">
        <source>%n error(s)</source>
        <translation>
            <numerusform>エラー %n 件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n warning(s)</source>
        <translation>
            <numerusform>警告 %n 件</numerusform>
        </translation>
    </message>
    <message>
        <source>unknown option %1 for unpack</source>
        <translation>unpack に %1 というオプションはありません</translation>
    </message>
    <message>
        <source>unpack takes FILE.rcf and at most one OUT.txt</source>
        <translation>unpack に渡すのは FILE.rcf と、多くて 1 つの OUT.txt です</translation>
    </message>
    <message>
        <source>--lpi needs a number</source>
        <translation>--lpi には数が必要です</translation>
    </message>
    <message>
        <source>unknown option %1 for pack</source>
        <translation>pack に %1 というオプションはありません</translation>
    </message>
    <message>
        <source>pack takes TEXT and OUT.rcf</source>
        <translation>pack に渡すのは TEXT と OUT.rcf です</translation>
    </message>
    <message>
        <source>pack needs --lpi N, the LastPrizeIndex of the .sdf</source>
        <translation>pack には --lpi N (.sdf の LastPrizeIndex) が必要です</translation>
    </message>
    <message>
        <source>--lpi takes a LastPrizeIndex from 0 to 19, not &quot;%1&quot;</source>
        <translation>--lpi に渡すのは 0 から 19 の LastPrizeIndex で、&quot;%1&quot; ではありません</translation>
    </message>
    <message>
        <source>%1 needs a file name</source>
        <translation>%1 にはファイル名が必要です</translation>
    </message>
    <message>
        <source>unknown option %1 for sheet</source>
        <translation>sheet に %1 というオプションはありません</translation>
    </message>
    <message>
        <source>sheet takes one folder or .orf file</source>
        <translation>sheet に渡すのは 1 つのフォルダか .orf ファイルです</translation>
    </message>
    <message>
        <source>sheet needs a FOLDER or FILE.orf</source>
        <translation>sheet には FOLDER か FILE.orf が必要です</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>コマンドがありません</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>%1 というコマンドはありません</translation>
    </message>
    <message>
        <source>
Checks the files of one machine folder as the four editors read them, and moves the
control data of a reel control file (.rcf) between its archive and a text.

check FOLDER [--json]
    Reads the .orf files of FOLDER and the .sdf, .rcf and .ppf files each names (with no
    .orf, every .sdf, .rcf and .ppf there), and the pictures and sounds they name.
    Reports, one line each as &quot;file:line: error|warning: text&quot;: files the editors refuse;
    a .rcf or .orf laid out for another LastPrizeIndex than the .sdf&apos;s; named files that
    are missing, found only in another case, or no file at all (a FIFO, a device, a
    folder); pictures and sounds that cannot be decoded; values outside what the
    editors accept. Line numbers of a .rcf are lines of its &quot;dummy.dat&quot; text (see
    unpack). A summary goes to standard error.
    --json  print the findings as a JSON list of objects with &quot;file&quot;, &quot;line&quot; (0 when
            there is none), &quot;severity&quot; and &quot;message&quot;

sheet FOLDER|FILE.orf [-o FILE.html] [--force]
    Writes the machine sheet: one HTML page holding the whole machine as the editors
    read it (the check&apos;s findings, the reel strips, prizes, flag probabilities, bonus
    rules, pay lines, reel control, sounds and picture positions), its pictures inside,
    for any browser and for printing on A4. FOLDER must hold one .orf; with several,
    name one. The page goes to FILE.html (&quot;-&quot;: standard output), by default to the
    machine&apos;s name with &quot;.html&quot; in its folder. A sheet written before is replaced;
    another existing file only with --force, and never a file of the machine.

unpack FILE.rcf [OUT.txt] [--force]
    Writes the archive&apos;s &quot;dummy.dat&quot; text, byte for byte, to OUT.txt or to standard
    output.

pack TEXT OUT.rcf --lpi N [--force]
    Packs TEXT into a new archive OUT.rcf as its &quot;dummy.dat&quot;, after checking that it
    reads as control data laid out for LastPrizeIndex N (the number under &quot;# number of
    prize&quot; in the machine&apos;s .sdf, 0 to 19), that its values pass the check (stop
    indexes 0 to 4, base tables and assignments in range) and that stopboard writes it
    back byte for byte. Nothing is written when a check fails.

For unpack and pack, &quot;-&quot; as FILE.rcf or TEXT reads standard input, and as OUT.txt or
OUT.rcf writes standard output. An output that is the input (by any name or link) is
never written. An existing output is replaced only with --force (-f), which also lets
pack write its archive to a terminal.

Exit status: 0 no errors (warnings allowed), 1 errors found or unpack/pack failed,
2 usage error or a folder that cannot be read. sheet: 0 written (whatever it found),
1 not written, 2 as above.
</source>
        <translation>
機種フォルダのファイルを 4 つのエディタと同じように読んで調べ、リール制御ファイル (.rcf)
の制御データを書庫とテキストの間で出し入れします。

check FOLDER [--json]
    FOLDER の .orf ファイルと、それぞれが名前を挙げる .sdf、.rcf、.ppf ファイル (.orf が
    なければ、そこにあるすべての .sdf、.rcf、.ppf)、それらが名前を挙げる画像と音を読みます。
    見つかったものを 1 行ずつ「ファイル:行: エラー|警告: 内容」の形で知らせます: エディタが
    読めないファイル、.sdf と違う LastPrizeIndex で並んだ .rcf や .orf、見つからないか
    大文字・小文字の違う名前でしか見つからないファイルやファイルでないもの (FIFO、デバイス、
    フォルダ)、読み込めない画像と音、エディタが受け付けない値。.rcf の行番号はその
    &quot;dummy.dat&quot; テキストの行です (unpack を参照)。件数のまとめは標準エラー出力に出ます。
    --json  見つかったものを &quot;file&quot;、&quot;line&quot; (行がなければ 0)、&quot;severity&quot;、&quot;message&quot; を
            持つオブジェクトの JSON のリストで出します

sheet FOLDER|FILE.orf [-o FILE.html] [--force]
    機種シートを書きます: エディタが読むとおりの機種全体 (チェック結果、リール配列、役、
    フラグの確率、ボーナス設定、有効ライン、リール制御、音設定、画像位置) を画像ごと収めた
    1 枚の HTML ページで、どのブラウザでも開け、A4 に印刷できます。FOLDER には .orf が
    1 つだけあること。複数あれば 1 つを指定します。ページは FILE.html (&quot;-&quot; なら標準出力)、
    指定がなければ機種のフォルダに機種の名前と &quot;.html&quot; で書きます。前に書いたシートは
    置き換え、それ以外のファイルは --force のときだけ置き換えます。機種のファイルは決して
    置き換えません。

unpack FILE.rcf [OUT.txt] [--force]
    書庫の &quot;dummy.dat&quot; テキストを 1 バイトも変えずに OUT.txt か標準出力に書きます。

pack TEXT OUT.rcf --lpi N [--force]
    TEXT が LastPrizeIndex N (機種の .sdf の &quot;# number of prize&quot; の下の数、0 から 19) で
    並んだ制御データとして読め、値がチェックの規則 (すべり 0 から 4、基本テーブルと割り
    当てが範囲内) を満たし、stopboard が 1 バイトも変えずに書き戻すことを確かめてから、
    TEXT を &quot;dummy.dat&quot; として新しい書庫 OUT.rcf に入れます。確かめられなければ何も
    書きません。

unpack と pack では、FILE.rcf や TEXT に &quot;-&quot; を渡すと標準入力を読み、OUT.txt や OUT.rcf
に &quot;-&quot; を渡すと標準出力に書きます。入力そのもの (どんな名前やリンクでも) には決して書き
ません。すでにある出力先は --force (-f) のときだけ置き換えます。--force は pack が書庫を
端末に書くことも許します。

終了ステータス: 0 エラーなし (警告はあってもよい)、1 エラーあり、または unpack/pack の失敗、
2 使い方の誤り、または読めないフォルダ。sheet: 0 書いた (何が見つかっても)、1 書かなかった、
2 は上と同じ。
</translation>
    </message>
</context>
<context>
    <name>Sheet</name>
    <message>
        <source>The machine names no %1.</source>
        <translation>機種に%1の名前がありません。</translation>
    </message>
    <message>
        <source>missing: %1</source>
        <translation>なし: %1</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>読めない: %1</translation>
    </message>
    <message>
        <source>any</source>
        <translation>任意</translation>
    </message>
    <message>
        <source>symbol %1</source>
        <translation>図柄 %1</translation>
    </message>
    <message>
        <source>the machine file</source>
        <translation>機種ファイル</translation>
    </message>
    <message>
        <source>Author</source>
        <translation>作者のお名前</translation>
    </message>
    <message>
        <source>(cannot be read)</source>
        <translation>(読めません)</translation>
    </message>
    <message>
        <source>machine file</source>
        <translation>機種ファイル</translation>
    </message>
    <message>
        <source>reel data file</source>
        <translation>リールファイル</translation>
    </message>
    <message>
        <source>reel control file</source>
        <translation>制御ファイル</translation>
    </message>
    <message>
        <source>picture position file</source>
        <translation>画像位置ファイル</translation>
    </message>
    <message>
        <source>flags</source>
        <translation>フラグ数</translation>
    </message>
    <message>
        <source>%1 (flags 1 to %1; flag 0 is no prize)</source>
        <translation>%1 (フラグ 1 から %1、フラグ 0 ははずれ)</translation>
    </message>
    <message>
        <source>Findings</source>
        <translation>チェック結果</translation>
    </message>
    <message>
        <source>Reel strips</source>
        <translation>リール配列</translation>
    </message>
    <message>
        <source>Prizes</source>
        <translation>役</translation>
    </message>
    <message>
        <source>Flags and probabilities</source>
        <translation>フラグと確率</translation>
    </message>
    <message>
        <source>Bonus rules</source>
        <translation>ボーナス設定</translation>
    </message>
    <message>
        <source>Pay lines</source>
        <translation>有効ライン設定</translation>
    </message>
    <message>
        <source>Reel control</source>
        <translation>リール制御</translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation>音設定</translation>
    </message>
    <message>
        <source>Picture positions</source>
        <translation>画像位置</translation>
    </message>
    <message>
        <source>The check finds nothing to report.</source>
        <translation>チェックで見つかったものはありません。</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1、%2</translation>
    </message>
    <message numerus="yes">
        <source>%n error(s)</source>
        <translation>
            <numerusform>エラー %n 件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n warning(s)</source>
        <translation>
            <numerusform>警告 %n 件</numerusform>
        </translation>
    </message>
    <message>
        <source>error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>the reel data file</source>
        <translation>リールデータファイル</translation>
    </message>
    <message>
        <source>position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>symbol</source>
        <translation>図柄</translation>
    </message>
    <message>
        <source>Flag f is prize f; flag 0 is no prize. Pays in medals.</source>
        <translation>フラグ f は役 f、フラグ 0 ははずれです。払い出しの単位は枚です。</translation>
    </message>
    <message>
        <source>flag</source>
        <translation>フラグ</translation>
    </message>
    <message>
        <source>combination</source>
        <translation>図柄の組み合わせ</translation>
    </message>
    <message>
        <source>pays</source>
        <translation>払い出し枚数</translation>
    </message>
    <message>
        <source>kinds</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>Each value is out of 65536, with its odds below; &quot;no prize&quot; is what the flags leave of 65536.</source>
        <translation>値は 65536 分の値で、下に 1/x を添えています。「はずれ」は 65536 からフラグの合計を引いた残りです。</translation>
    </message>
    <message>
        <source>Setting %1, %2 (減算値 %3)</source>
        <translation>設定 %1、%2 (減算値 %3)</translation>
    </message>
    <message>
        <source>total</source>
        <translation>合計</translation>
    </message>
    <message>
        <source>no prize</source>
        <translation>はずれ</translation>
    </message>
    <message>
        <source>3枚掛け専用機: a game takes three medals.</source>
        <translation>3枚掛け専用機: 1 ゲームに 3 枚掛けます。</translation>
    </message>
    <message>
        <source>Not a 3枚掛け専用機: a game takes one to three medals.</source>
        <translation>3枚掛け専用機ではありません: 1 ゲームに 1 枚から 3 枚掛けます。</translation>
    </message>
    <message>
        <source>カウンタリセット機.</source>
        <translation>カウンタリセット機です。</translation>
    </message>
    <message>
        <source>Not a カウンタリセット機.</source>
        <translation>カウンタリセット機ではありません。</translation>
    </message>
    <message>
        <source>CTあり: the machine has CT.</source>
        <translation>CTあり。</translation>
    </message>
    <message>
        <source>No CT (CTあり is not checked).</source>
        <translation>CTなし (CTあり にチェックがありません)。</translation>
    </message>
    <message>
        <source>When the flag of ビッグ%1 is won (のフラグに当選した時), CT is entered with %2 % (% で突入).</source>
        <translation>ビッグ%1のフラグに当選した時 %2 % で突入。</translation>
    </message>
    <message>
        <source>CT ends after %1 medals of net gain (枚純増) or %2 plays (プレイ終了).</source>
        <translation>CT終了条件: %1 枚純増、%2 プレイ終了。</translation>
    </message>
    <message>
        <source>Super big (スーパービッグ)</source>
        <translation>スーパービッグ設定</translation>
    </message>
    <message>
        <source>%1 % ビッグ%2</source>
        <translation>%1 % でビッグ%2</translation>
    </message>
    <message>
        <source>ビッグ%1 lined up (が揃い): no type is given.</source>
        <translation>ビッグ%1が揃い: どのビッグにもなりません (すべて 0 %)。</translation>
    </message>
    <message>
        <source>ビッグ%1 lined up (が揃い) becomes %2.</source>
        <translation>ビッグ%1が揃い、%2。</translation>
    </message>
    <message>
        <source>Bonus end (ボーナス終了条件)</source>
        <translation>ボーナス終了条件</translation>
    </message>
    <message>
        <source>BB ends after %1 games (G行うか) or %2 regular bonuses (回RB).</source>
        <translation>BB: %1 G行うか %2 回RB で終了。</translation>
    </message>
    <message>
        <source>RB ends after %1 games (G行うか) or %2 wins (回入賞).</source>
        <translation>RB: %1 G行うか %2 回入賞 で終了。</translation>
    </message>
    <message>
        <source>line %1 (領域番号 %2)</source>
        <translation>ライン %1 (領域番号 %2)</translation>
    </message>
    <message>
        <source>not one cell on each reel</source>
        <translation>各リールに 1 マスずつになっていません</translation>
    </message>
    <message>
        <source>No pay line.</source>
        <translation>有効ラインがありません。</translation>
    </message>
    <message>
        <source>the reel control file</source>
        <translation>リール制御ファイル</translation>
    </message>
    <message>
        <source>The assignments were written for LastPrizeIndex %1, but the reel data has %2: they are shown as stopboard reads them, most of them on other keys than they were made for.</source>
        <translation>割り当ては LastPrizeIndex %1 で書かれていますが、リールデータは %2 です。stopboard が読むとおりに載せているので、ほとんどの割り当てが作られたときとは別の組み合わせに付いています。</translation>
    </message>
    <message>
        <source>The assignment section fits no LastPrizeIndex: it is shown as stopboard reads it.</source>
        <translation>割り当て部分がどの LastPrizeIndex にも合いません。stopboard が読むとおりに載せています。</translation>
    </message>
    <message>
        <source>Base tables by flag and play state</source>
        <translation>成立フラグとプレイ状態ごとの基本テーブル</translation>
    </message>
    <message>
        <source>Each cell names the base tables the assignments use, with how many keys (bonus flag state, bet, stop order, big type, first stop) each.</source>
        <translation>各欄は割り当てに使われる基本テーブルと、それぞれの組み合わせ (ボーナスフラグ状態、投入枚数、押し順、ビッグの種類、第１リール停止位置) の数です。</translation>
    </message>
    <message>
        <source>(no prize)</source>
        <translation>(はずれ)</translation>
    </message>
    <message>
        <source>%1 more (%2 keys)</source>
        <translation>ほか %1 個 (%2 組)</translation>
    </message>
    <message>
        <source>%1 assignments name no base table 1 to 512.</source>
        <translation>%1 個の割り当てが 1 から 512 の基本テーブルを指していません。</translation>
    </message>
    <message>
        <source>Base tables</source>
        <translation>基本テーブル</translation>
    </message>
    <message>
        <source>base table</source>
        <translation>基本テーブル</translation>
    </message>
    <message>
        <source>keys</source>
        <translation>組み合わせ</translation>
    </message>
    <message>
        <source>stop tables (probability out of 256)</source>
        <translation>停止テーブル (確率 / 256)</translation>
    </message>
    <message>
        <source>adds up to %1, not 256</source>
        <translation>合計が 256 ではなく %1</translation>
    </message>
    <message>
        <source>Stop tables</source>
        <translation>停止テーブル</translation>
    </message>
    <message>
        <source>The slide (0 to 4) of the left, centre and right reel for each position the button is pressed at, position 21 at the top.</source>
        <translation>押した位置ごとの左・中・右リールのすべり (0 から 4)。位置 21 が上です。</translation>
    </message>
    <message>
        <source>%1, candidate %2 (%3/65536%4)</source>
        <translation>%1、候補 %2 (%3/65536%4)</translation>
    </message>
    <message>
        <source>, after a sound at the first or second stop</source>
        <translation>、第1・2リール停止時に効果音が発生した時のみ</translation>
    </message>
    <message>
        <source>payout sound of flag %1, %2 %3</source>
        <translation>払い出し音 フラグ %1 %2 %3</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>番号</translation>
    </message>
    <message>
        <source>file</source>
        <translation>ファイル名</translation>
    </message>
    <message>
        <source>plays on</source>
        <translation>鳴る場面</translation>
    </message>
    <message>
        <source>not registered</source>
        <translation>登録なし</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>見つかりません</translation>
    </message>
    <message>
        <source>cannot be played</source>
        <translation>鳴らせません</translation>
    </message>
    <message>
        <source>%1 more</source>
        <translation>ほか %1 件</translation>
    </message>
    <message>
        <source>(not used)</source>
        <translation>(使われていません)</translation>
    </message>
    <message>
        <source>No sound is registered.</source>
        <translation>音の登録がありません。</translation>
    </message>
    <message numerus="yes">
        <source>%n setting(s) name a sound number outside 0 to 128.</source>
        <translation>
            <numerusform>%n 個の設定が 0 から 128 の外の音番号を指しています。</numerusform>
        </translation>
    </message>
    <message>
        <source>the picture position file</source>
        <translation>画像位置ファイル</translation>
    </message>
    <message>
        <source>element</source>
        <translation>項目</translation>
    </message>
    <message>
        <source>rectangle</source>
        <translation>範囲</translation>
    </message>
    <message>
        <source>value</source>
        <translation>値</translation>
    </message>
    <message>
        <source>%1 holds no machine file (.orf): the sheet shows the machine an .orf file makes</source>
        <translation>%1 に機種ファイル (.orf) がありません。シートは .orf ファイルの機種を載せます</translation>
    </message>
    <message>
        <source>%1 holds %2 machine files (%3): name one, as in machinecheck sheet %4</source>
        <translation>%1 には機種ファイルが %2 個あります (%3)。machinecheck sheet %4 のように 1 つを指定してください</translation>
    </message>
    <message>
        <source>%1: error: the machine is read from this file; nothing written
</source>
        <translation>%1: エラー: 機種を読むファイルです。何も書いていません
</translation>
    </message>
    <message>
        <source>%1: error: is a folder; nothing written
</source>
        <translation>%1: エラー: フォルダです。何も書いていません
</translation>
    </message>
    <message>
        <source>%1: error: already exists and is no machine sheet; give --force to replace it
</source>
        <translation>%1: エラー: すでにあり、機種シートではありません。置き換えるには --force を付けてください
</translation>
    </message>
    <message>
        <source>%1: error: cannot write: %2
</source>
        <translation>%1: エラー: 書き込めません: %2
</translation>
    </message>
    <message>
        <source>machinecheck: wrote %1 (%2, %3)
</source>
        <translation>machinecheck: %1 を書きました (%2、%3)
</translation>
    </message>
    <message>
        <source>Cannot read %1 %2: see the findings.</source>
        <translation>%1 %2 を読めません。チェック結果を見てください。</translation>
    </message>
    <message>
        <source>there is no machine file %1</source>
        <translation>機種ファイル %1 はありません</translation>
    </message>
</context>
<context>
    <name>SoundCheck</name>
    <message>
        <source>not a WAV file (no RIFF/WAVE header)</source>
        <translation>WAV ファイルではありません（RIFF/WAVE の見出しがありません）</translation>
    </message>
    <message>
        <source>the &quot;%1&quot; chunk runs past the end of the file</source>
        <translation>「%1」チャンクがファイルの終わりを越えています</translation>
    </message>
    <message>
        <source>the &quot;fmt &quot; chunk is too short</source>
        <translation>「fmt 」チャンクが短すぎます</translation>
    </message>
    <message>
        <source>the &quot;fmt &quot; chunk gives no channels, sample rate, block size or sample size</source>
        <translation>「fmt 」チャンクにチャンネル数、サンプリング周波数、ブロックサイズ、サンプルサイズのどれかがありません</translation>
    </message>
    <message>
        <source>the &quot;data&quot; chunk comes before any &quot;fmt &quot; chunk</source>
        <translation>「data」チャンクが「fmt 」チャンクより前にあります</translation>
    </message>
    <message>
        <source>no &quot;fmt &quot; chunk</source>
        <translation>「fmt 」チャンクがありません</translation>
    </message>
    <message>
        <source>no &quot;data&quot; chunk</source>
        <translation>「data」チャンクがありません</translation>
    </message>
    <message>
        <source>the sample rate is %1 Hz; specboard plays no WAV below %2 Hz</source>
        <translation>サンプリング周波数が %1 Hz です。specboard は %2 Hz 未満の WAV を再生しません</translation>
    </message>
    <message>
        <source>the sound converts to %1 MB of mixer samples; specboard plays at most %2 MB</source>
        <translation>この音はミキサーのサンプルにすると %1 MB になります。specboard が再生するのは %2 MB までです</translation>
    </message>
    <message>
        <source>not a MIDI file (no MThd header)</source>
        <translation>MIDI ファイルではありません（MThd の見出しがありません）</translation>
    </message>
    <message>
        <source>the MThd chunk has a bad length</source>
        <translation>MThd チャンクの長さが不正です</translation>
    </message>
    <message>
        <source>unknown MIDI file format %1</source>
        <translation>MIDI ファイルの形式 %1 は知られていません</translation>
    </message>
    <message>
        <source>the MThd chunk announces no track</source>
        <translation>MThd チャンクがトラックを 1 つも示していません</translation>
    </message>
    <message>
        <source>a format 0 MIDI file has one track, this one announces %1</source>
        <translation>形式 0 の MIDI ファイルのトラックは 1 つですが、このファイルは %1 個を示しています</translation>
    </message>
    <message>
        <source>the MThd chunk gives no time division</source>
        <translation>MThd チャンクに時間の分解能がありません</translation>
    </message>
    <message>
        <source>the file ends inside a chunk header</source>
        <translation>チャンクの見出しの途中でファイルが終わっています</translation>
    </message>
    <message>
        <source>chunk %1 runs past the end of the file</source>
        <translation>チャンク %1 がファイルの終わりを越えています</translation>
    </message>
    <message>
        <source>the MThd chunk announces %1 tracks, the file holds %2</source>
        <translation>MThd チャンクはトラックを %1 個示していますが、ファイルには %2 個あります</translation>
    </message>
    <message>
        <source>the file has %1 bytes; specboard plays no MIDI file above %2</source>
        <translation>ファイルは %1 バイトです。specboard は %2 バイトを超える MIDI ファイルを再生しません</translation>
    </message>
    <message>
        <source>%1 notes start within %2 ms; specboard plays at most %3</source>
        <translation>%2 ミリ秒の間に %1 個の音が鳴り始めます。specboard が再生するのは %3 個までです</translation>
    </message>
    <message>
        <source>; </source>
        <translation>。</translation>
    </message>
</context>
</TS>
