<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>kelvora</name>
    <message>
        <source>現在の周波数</source>
        <translation>Current Frequency</translation>
    </message>
    <message>
        <source>最高可聴周波数</source>
        <translation>Highest Audible Frequency</translation>
    </message>
    <message>
        <source>正答率</source>
        <translation>Correct Answers</translation>
    </message>
    <message>
        <source>チェック開始</source>
        <translation>Start Check</translation>
    </message>
    <message>
        <source>分からない！</source>
        <translation>Don&apos;t know!</translation>
    </message>
    <message>
        <source>初めからやり直す(&amp;C)</source>
        <translation>&amp;Clear and Restart</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>可聴チェック</source>
        <translation>Hearing Check</translation>
    </message>
    <message>
        <source>音の鳴った回数</source>
        <translation>How Many Times the Tone Sounded</translation>
    </message>
    <message>
        <source>周波数手動設定</source>
        <translation>Set the Frequency</translation>
    </message>
    <message>
        <source>音量調整の完了(&amp;E)</source>
        <translation>&amp;Done</translation>
    </message>
    <message>
        <source>サンプルサウンドの再生(&amp;P)</source>
        <translation>&amp;Play Sample Sound</translation>
    </message>
    <message>
        <source>可聴域チェックの前に、お使いのスピーカに合わせて音量を調整して下さい。</source>
        <translation>Before the check, set the volume to suit your speakers.</translation>
    </message>
    <message>
        <source>現在の音量設定</source>
        <translation>Current Volume</translation>
    </message>
    <message>
        <source>スピーカの音量調整</source>
        <translation>Speaker Volume</translation>
    </message>
    <message>
        <source>音量の上げすぎには十分注意して下さい。</source>
        <translation>Never set the volume too high.</translation>
    </message>
    <message>
        <source>いま鳴った音のパターン</source>
        <translation>The Pattern Just Played</translation>
    </message>
    <message>
        <source>○: 有音部 (200 ms), ＿: 無音部 (200ms)</source>
        <translation>○: tone (200 ms), ＿: silence (200ms)</translation>
    </message>
    <message>
        <source>フェイドイン/アウトする</source>
        <translation>Fade in and out</translation>
    </message>
    <message>
        <source>視聴(&amp;P)</source>
        <translation>&amp;Preview</translation>
    </message>
    <message>
        <source>WAVEファイル作成 (&amp;C)</source>
        <translation>&amp;Create WAVE File</translation>
    </message>
    <message>
        <source>周波数</source>
        <translation>Freq.</translation>
    </message>
    <message>
        <source>高音の聞こえをチェックします</source>
        <translation>Checks your hearing of high tones</translation>
    </message>
    <message>
        <source>画像を保存(&amp;P)...</source>
        <translation>Save &amp;Picture...</translation>
    </message>
    <message>
        <source>CSVを保存(&amp;C)...</source>
        <translation>Save &amp;CSV...</translation>
    </message>
    <message>
        <source>閉じる(&amp;X)</source>
        <translation>C&amp;lose</translation>
    </message>
    <message>
        <source>指定した周波数のWAVEファイルを作成する(&amp;S)</source>
        <translation>Create a &amp;WAVE File at a Frequency</translation>
    </message>
    <message>
        <source>検査結果の記録(&amp;R)...</source>
        <translation>Check &amp;History...</translation>
    </message>
    <message>
        <source>両耳(&amp;B)</source>
        <translation>&amp;Both Ears</translation>
    </message>
    <message>
        <source>左耳(&amp;L)</source>
        <translation>&amp;Left Ear</translation>
    </message>
    <message>
        <source>右耳(&amp;R)</source>
        <translation>&amp;Right Ear</translation>
    </message>
    <message>
        <source>検査する耳(&amp;E)</source>
        <translation>&amp;Ear to Test</translation>
    </message>
    <message>
        <source>音量の設定(&amp;V)</source>
        <translation>&amp;Volume Setting</translation>
    </message>
    <message>
        <source>周波数を自動的に変える(&amp;A)</source>
        <translation>Change the Frequency &amp;Automatically</translation>
    </message>
    <message>
        <source>記録を確かめる(&amp;R)</source>
        <translation>Confirm the &amp;Record</translation>
    </message>
    <message>
        <source>現在の周波数で連続音を鳴らす(&amp;C)</source>
        <translation>Play a &amp;Continuous Tone at the Current Frequency</translation>
    </message>
    <message>
        <source>無音データを鳴らす(ノイズチェック用) (&amp;N)</source>
        <translation>Play Silence (for a &amp;Noise Check)</translation>
    </message>
    <message>
        <source>使い方について(&amp;U)</source>
        <translation>&amp;Using Kelvora</translation>
    </message>
    <message>
        <source>Kelvoraについて(&amp;A)</source>
        <translation>&amp;About Kelvora</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>サウンド(&amp;S)</source>
        <translation>&amp;Sound</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>周波数を8000 Hzに設定します。</source>
        <translation>Sets the frequency to 8000 Hz.</translation>
    </message>
    <message>
        <source>周波数を16000 Hzに設定します。</source>
        <translation>Sets the frequency to 16000 Hz.</translation>
    </message>
    <message>
        <source>周波数を1000 Hz上げます。<byte value="xd"/>
<byte value="xd"/>
キーボードの[Page Up]キーでも変更可能です。</source>
        <translation>Raises the frequency by 1000 Hz.<byte value="xd"/>
<byte value="xd"/>
The [Page Up] key does the same.</translation>
    </message>
    <message>
        <source>周波数を1000 Hz下げます。<byte value="xd"/>
<byte value="xd"/>
キーボードの[Page Down]キーでも変更可能です。</source>
        <translation>Lowers the frequency by 1000 Hz.<byte value="xd"/>
<byte value="xd"/>
The [Page Down] key does the same.</translation>
    </message>
    <message>
        <source>周波数を100 Hz上げます。<byte value="xd"/>
<byte value="xd"/>
キーボードの[↑]キーでも変更可能です。</source>
        <translation>Raises the frequency by 100 Hz.<byte value="xd"/>
<byte value="xd"/>
The [↑] key does the same.</translation>
    </message>
    <message>
        <source>周波数を100 Hz下げます。<byte value="xd"/>
<byte value="xd"/>
キーボードの[↓]キーでも変更可能です。</source>
        <translation>Lowers the frequency by 100 Hz.<byte value="xd"/>
<byte value="xd"/>
The [↓] key does the same.</translation>
    </message>
    <message>
        <source>周波数を10 Hz上げます。<byte value="xd"/>
<byte value="xd"/>
キーボードの[→]キーでも変更可能です。</source>
        <translation>Raises the frequency by 10 Hz.<byte value="xd"/>
<byte value="xd"/>
The [→] key does the same.</translation>
    </message>
    <message>
        <source>周波数を10 Hz下げます。<byte value="xd"/>
<byte value="xd"/>
キーボードの[←]キーでも変更可能です。</source>
        <translation>Lowers the frequency by 10 Hz.<byte value="xd"/>
<byte value="xd"/>
The [←] key does the same.</translation>
    </message>
    <message>
        <source>現在表示されている周波数のチェックを開始します。<byte value="xd"/>
<byte value="xd"/>
キーボードの[+]キー, [Enter]キー, またはスペースキーでも開始出来ます。</source>
        <translation>Starts the check at the frequency shown.<byte value="xd"/>
<byte value="xd"/>
The [+] key, the [Enter] key or the space bar also starts it.</translation>
    </message>
    <message>
        <source>音が 1回だけ 鳴ったときは、このボタンを押して下さい。 <byte value="xd"/>
<byte value="xd"/>
キーボードの[1]キーでも選択出来ます。</source>
        <translation>Press this button when the tone sounded only once.<byte value="xd"/>
<byte value="xd"/>
The [1] key also chooses it.</translation>
    </message>
    <message>
        <source>音が 2回 鳴ったときは、このボタンを押して下さい。 <byte value="xd"/>
<byte value="xd"/>
キーボードの[2]キーでも選択出来ます。</source>
        <translation>Press this button when the tone sounded twice.<byte value="xd"/>
<byte value="xd"/>
The [2] key also chooses it.</translation>
    </message>
    <message>
        <source>音が 3回 鳴ったときは、このボタンを押して下さい。 <byte value="xd"/>
<byte value="xd"/>
キーボードの[3]キーでも選択出来ます。</source>
        <translation>Press this button when the tone sounded 3 times.<byte value="xd"/>
<byte value="xd"/>
The [3] key also chooses it.</translation>
    </message>
    <message>
        <source>音が 4回 鳴ったときは、このボタンを押して下さい。 <byte value="xd"/>
<byte value="xd"/>
キーボードの[4]キーでも選択出来ます。</source>
        <translation>Press this button when the tone sounded 4 times.<byte value="xd"/>
<byte value="xd"/>
The [4] key also chooses it.</translation>
    </message>
    <message>
        <source>音が 5回 鳴ったときは、このボタンを押して下さい。 <byte value="xd"/>
<byte value="xd"/>
キーボードの[5]キーでも選択出来ます。</source>
        <translation>Press this button when the tone sounded 5 times.<byte value="xd"/>
<byte value="xd"/>
The [5] key also chooses it.</translation>
    </message>
    <message>
        <source>音が何度鳴ったか分からないときは、このボタンを押して下さい。 <byte value="xd"/>
<byte value="xd"/>
キーボードの[0]キーまたは[-]キーでも選択出来ます。</source>
        <translation>Press this button when you cannot tell how many times the tone sounded.<byte value="xd"/>
<byte value="xd"/>
The [0] key or the [-] key also chooses it.</translation>
    </message>
    <message>
        <source>現在の記録や設定をリセットし、起動時の状態へ戻ります。<byte value="xd"/>
<byte value="xd"/>
キーボードの[Home]キーでも選択出来ます。</source>
        <translation>Clears the record and the settings and goes back to how the program started.<byte value="xd"/>
<byte value="xd"/>
The [Home] key also chooses it.</translation>
    </message>
    <message>
        <source>プログラムを終了します。<byte value="xd"/>
<byte value="xd"/>
キーボードの[ESC]キーでも選択出来ます。</source>
        <translation>Ends the program.<byte value="xd"/>
<byte value="xd"/>
The [ESC] key also chooses it.</translation>
    </message>
    <message>
        <source>Windows ｿｹｯﾄの初期化に失敗しました。</source>
        <translation>Windows sockets could not be initialized.</translation>
    </message>
    <message>
        <source>スピーカの音量設定 [Kelvora]</source>
        <translation>Speaker Volume [Kelvora]</translation>
    </message>
    <message>
        <source>動作に必要なメモリが確保出来ませんでした。<byte value="xd"/>
アプリケーションを強制終了します。</source>
        <translation>The memory the program needs could not be allocated.<byte value="xd"/>
The application will now close.</translation>
    </message>
    <message>
        <source>このコンピュータの音の出力は 1 チャンネル（モノラル）です。<byte value="xd"/>
この出力では左右の耳を分けて鳴らせないため、片耳ずつのチェックはできません。<byte value="xd"/>
検査する耳は「両耳」に戻します。</source>
        <translation>This computer&apos;s sound output has 1 channel (mono).<byte value="xd"/>
It cannot play to each ear apart, so the ears cannot be checked one at a time.<byte value="xd"/>
The ear to test goes back to &quot;Both Ears&quot;.</translation>
    </message>
    <message>
        <source>このコンピュータの音は Bluetooth で出力されています（コーデック %1）。<byte value="xd"/>
約 %2 Hz から上の検査結果は、耳ではなく無線の経路の限界を表すことがあります。<byte value="xd"/>
<byte value="xd"/>
チェックには有線のヘッドホンを使って下さい。詳しくはヘルプをご覧ください。</source>
        <translation>This computer&apos;s sound goes out over Bluetooth (codec %1).<byte value="xd"/>
Results from about %2 Hz up may show the limit of the radio link, not of your ears.<byte value="xd"/>
<byte value="xd"/>
Use wired headphones for the check. See the help for more.</translation>
    </message>
    <message>
        <source>このコンピュータの音の出力は %1 Hz で動いています。<byte value="xd"/>
約 %2 Hz から上の音は、この出力では鳴らせません。その付近と、それより上の検査結果は、耳ではなく音の経路の限界を表します。<byte value="xd"/>
<byte value="xd"/>
サウンドサーバを 48000 Hz で動かすには:<byte value="xd"/>
・PipeWire: 設定の default.clock.rate を 48000 にする<byte value="xd"/>
・PulseAudio: daemon.conf の default-sample-rate を 48000 にする<byte value="xd"/>
そのあとサウンドサーバを起動し直してください。詳しくはヘルプをご覧ください。</source>
        <translation>This computer&apos;s sound output runs at %1 Hz.<byte value="xd"/>
It cannot play sounds from about %2 Hz up. Results near and above that show the limit of the sound path, not of your ears.<byte value="xd"/>
<byte value="xd"/>
To run the sound server at 48000 Hz:<byte value="xd"/>
- PipeWire: set default.clock.rate to 48000 in its settings<byte value="xd"/>
- PulseAudio: set default-sample-rate to 48000 in daemon.conf<byte value="xd"/>
then restart the sound server. See the help for more.</translation>
    </message>
    <message>
        <source>このコンピュータの音の出力は %1 Hz で動いています。<byte value="xd"/>
約 %2 Hz から上の音は、この出力では鳴らせません。その付近と、それより上の検査結果は、耳ではなく音の経路の限界を表します。<byte value="xd"/>
<byte value="xd"/>
出力を 48000 Hz で動かすには:<byte value="xd"/>
・コントロール パネルの「サウンド」で再生デバイスを選び、「プロパティ」→「詳細設定」の「既定の形式」を 48000 Hz のものにする<byte value="xd"/>
そのあと Kelvora を起動し直してください。詳しくはヘルプをご覧ください。</source>
        <translation>This computer&apos;s sound output runs at %1 Hz.<byte value="xd"/>
It cannot play sounds from about %2 Hz up. Results near and above that show the limit of the sound path, not of your ears.<byte value="xd"/>
<byte value="xd"/>
To run the output at 48000 Hz:<byte value="xd"/>
- in Control Panel, open Sound, choose the playback device, then Properties, Advanced, and pick a 48000 Hz Default Format<byte value="xd"/>
then start Kelvora again. See the help for more.</translation>
    </message>
    <message>
        <source>今回の検査の経過</source>
        <translation>This session</translation>
    </message>
    <message>
        <source>これまでの最高可聴周波数</source>
        <translation>Records so far</translation>
    </message>
    <message>
        <source>まだ答えた検査がありません</source>
        <translation>No check answered yet</translation>
    </message>
    <message>
        <source>記録された検査がまだありません</source>
        <translation>No check recorded yet</translation>
    </message>
    <message>
        <source>最高可聴周波数 %1 Hz</source>
        <translation>Highest Audible Frequency %1 Hz</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Correct</translation>
    </message>
    <message>
        <source>不正解・分からない</source>
        <translation>Wrong or don&apos;t know</translation>
    </message>
    <message>
        <source>記録の確認</source>
        <translation>Confirming</translation>
    </message>
    <message>
        <source>確かめられた</source>
        <translation>Confirmed</translation>
    </message>
    <message>
        <source>確かめられなかった</source>
        <translation>Not confirmed</translation>
    </message>
    <message>
        <source>両耳</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>左耳</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右耳</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>記録ファイル: %1</source>
        <translation>History file: %1</translation>
    </message>
    <message>
        <source>最後のチェックを記録ファイルに残せませんでした（%1）。</source>
        <translation>The last check could not be kept in the history file (%1).</translation>
    </message>
    <message>
        <source>記録ファイルを読めませんでした（%1）。</source>
        <translation>The history file could not be read (%1).</translation>
    </message>
    <message>
        <source>読めない行: %1</source>
        <translation>Unreadable lines: %1</translation>
    </message>
    <message>
        <source>最後の %1 行（%2 MiB）より古い行は表示していません</source>
        <translation>Lines older than the last %1 (%2 MiB) are not shown</translation>
    </message>
    <message>
        <source>HOME が設定されていないため、記録ファイルの場所がありません</source>
        <translation>HOME is not set, so the history file has no place</translation>
    </message>
    <message>
        <source>保存する検査結果がありません。</source>
        <translation>There are no check results to save.</translation>
    </message>
    <message>
        <source>記録ファイルはほかのプログラムが使用中です。<byte value="xd"/>
ファイルが閉じられるまで、検査結果はこのプログラムが保持します。<byte value="xd"/>
%1</source>
        <translation>The history file is in use by another program.<byte value="xd"/>
The results are kept until it is closed.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>記録ファイルに書き込めません（%1）。<byte value="xd"/>
書き込めるようになるまで、検査結果はこのプログラムが保持します。<byte value="xd"/>
%2</source>
        <translation>The history file cannot be written (%1).<byte value="xd"/>
The results are kept until it can be written.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>記録ファイルに保存できなかった検査: %1 件<byte value="xd"/>
%2</source>
        <translation>Checks that could not be saved in the history file: %1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>ファイルを書き込み用にオープン出来ません。</source>
        <translation>The file cannot be opened for writing.</translation>
    </message>
    <message>
        <source>ファイルの書き込みに失敗しました。</source>
        <translation>Writing the file failed.</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation>(%1)</translation>
    </message>
    <message>
        <source>ディスクの空き容量がありません</source>
        <translation>No space left on the disk</translation>
    </message>
    <message>
        <source>アクセスが許可されていません</source>
        <translation>Access is not permitted</translation>
    </message>
    <message>
        <source>読み取り専用のファイルシステムです</source>
        <translation>The file system is read-only</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>ほかのプログラムが使用中です</source>
        <translation>In use by another program</translation>
    </message>
    <message>
        <source>ファイルまたはフォルダがありません</source>
        <translation>No such file or folder</translation>
    </message>
    <message>
        <source> [記録の確認 %1 Hz]</source>
        <translation> [Confirming %1 Hz]</translation>
    </message>
    <message>
        <source> [記録の確認 %1 Hz　%2 回中 %3 回正解]</source>
        <translation> [Confirming %1 Hz: %3 of %2 right]</translation>
    </message>
    <message>
        <source> [記録の確認 %1 Hz　%2 Hz は確かめられず]</source>
        <translation> [Confirming %1 Hz: %2 Hz not confirmed]</translation>
    </message>
    <message>
        <source> [確かめた記録 %1 Hz]</source>
        <translation> [Confirmed %1 Hz]</translation>
    </message>
    <message>
        <source>%1 Hz を確かめました（%2 回中 %3 回正解）。<byte value="xd"/>
当て推量だけで 5 回中 4 回以上正解する確率は 1% 未満です。</source>
        <translation>%1 Hz confirmed: %3 of %2 right.<byte value="xd"/>
The chance of 4 or more right of 5 by guessing alone is below 1%.</translation>
    </message>
    <message>
        <source>確かめられる周波数が見つかりませんでした。</source>
        <translation>No frequency could be confirmed.</translation>
    </message>
    <message>
        <source> [左耳]</source>
        <translation> [Left Ear]</translation>
    </message>
    <message>
        <source> [右耳]</source>
        <translation> [Right Ear]</translation>
    </message>
    <message>
        <source>%1 Hzのチェック</source>
        <translation>Check at %1 Hz</translation>
    </message>
    <message>
        <source>残念！ 正解は %1 回でした。</source>
        <translation>Sorry! The answer was %1.</translation>
    </message>
    <message>
        <source>指定された周波数のWAVEファイルは作成出来ません。</source>
        <translation>A WAVE file cannot be made at this frequency.</translation>
    </message>
    <message>
        <source>WAVEファイル (PCM, mono, 16 bits, 48 kHz, 2 sec) </source>
        <translation>WAVE file (PCM, mono, 16 bits, 48 kHz, 2 sec) </translation>
    </message>
    <message>
        <source>全てのファイル (*.*) </source>
        <translation>All files (*.*) </translation>
    </message>
    <message>
        <source>PNG 画像 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>CSV ファイル (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <source>いまの問題の正解は…</source>
        <translation>The Answer</translation>
    </message>
    <message>
        <source>指定した周波数のWAVEファイルを作成する</source>
        <translation>Create a WAVE File at a Frequency</translation>
    </message>
    <message>
        <source>Kelvoraについて</source>
        <translation>About Kelvora</translation>
    </message>
    <message>
        <source>検査結果の記録 [Kelvora]</source>
        <translation>Check History [Kelvora]</translation>
    </message>
    <message>
        <source>白抜き: 記録だけ</source>
        <translation>Hollow: record only</translation>
    </message>
    <message>
        <source>塗りつぶし: 確かめた周波数</source>
        <translation>Filled: confirmed</translation>
    </message>
    <message>
        <source>ヘルプを開けませんでした。<byte value="xd"/>
次のファイルをウェブブラウザで開いてください:<byte value="xd"/>
%1</source>
        <translation>Help could not be opened.<byte value="xd"/>
Open this file in a web browser:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>既定の出力(&amp;D)</source>
        <translation>&amp;Default output</translation>
    </message>
    <message>
        <source>出力先(&amp;O)</source>
        <translation>&amp;Output</translation>
    </message>
    <message>
        <source>前回選んだ出力先「%1」が見つかりません。<byte value="xd"/>
既定の出力で鳴らします。</source>
        <translation>The output chosen last time, &quot;%1&quot;, is not there.<byte value="xd"/>
The sounds play on the default output.</translation>
    </message>
    <message>
        <source>出力先「%1」が見つかりません。<byte value="xd"/>
既定の出力で鳴らしました。</source>
        <translation>The output &quot;%1&quot; is not there.<byte value="xd"/>
The sound played on the default output.</translation>
    </message>
    <message>
        <source>音を鳴らしている間に出力先「%1」がなくなり、音を最後まで鳴らせませんでした。<byte value="xd"/>
次の音からは既定の出力で鳴らします。</source>
        <translation>The output &quot;%1&quot; went away while the sound played, so it was not played to its end.<byte value="xd"/>
The next sounds play on the default output.</translation>
    </message>
    <message>
        <source>検査する人(&amp;L)...</source>
        <translation>&amp;Listener...</translation>
    </message>
    <message>
        <source>検査する人</source>
        <translation>Listener</translation>
    </message>
    <message>
        <source>検査する人の名前:</source>
        <translation>Name of the listener:</translation>
    </message>
    <message>
        <source>空欄のときは名前なしで記録します。</source>
        <translation>Left empty, the checks are kept without a name.</translation>
    </message>
    <message>
        <source>検査する人:</source>
        <translation>Listener:</translation>
    </message>
    <message>
        <source>出力先:</source>
        <translation>Output:</translation>
    </message>
    <message>
        <source>すべて</source>
        <translation>All</translation>
    </message>
    <message>
        <source>（名前なし）</source>
        <translation>(unnamed)</translation>
    </message>
    <message>
        <source>（不明）</source>
        <translation>(unknown)</translation>
    </message>
    <message>
        <source>%1（%2、%3）</source>
        <translation>%1 (%2, %3)</translation>
    </message>
</context>
</TS>
