<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Quorvel</name>
    <message>
        <source>スタート</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>ストップ</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>再開</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>終了時の状態を保存</source>
        <translation>Save window positions on exit</translation>
    </message>
    <message>
        <source>バージョン情報 (&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>1ステップ実行</source>
        <translation>Single step</translation>
    </message>
    <message>
        <source>画像を保存...</source>
        <translation>Save picture...</translation>
    </message>
    <message>
        <source>履歴をCSVで保存...</source>
        <translation>Save history as CSV...</translation>
    </message>
    <message>
        <source>ファイルを保存できませんでした。</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>消火(両端)</source>
        <translation>Off (ends)</translation>
    </message>
    <message>
        <source>強火(両端)</source>
        <translation>Strong (ends)</translation>
    </message>
    <message>
        <source>中火(両端)</source>
        <translation>Med. (ends)</translation>
    </message>
    <message>
        <source>弱火(両端)</source>
        <translation>Weak (ends)</translation>
    </message>
    <message>
        <source>消火(中央)</source>
        <translation>Off (ctr)</translation>
    </message>
    <message>
        <source>強火(中央)</source>
        <translation>Strong (ctr)</translation>
    </message>
    <message>
        <source>中火(中央)</source>
        <translation>Med. (ctr)</translation>
    </message>
    <message>
        <source>弱火(中央)</source>
        <translation>Weak (ctr)</translation>
    </message>
    <message>
        <source>履歴ウインドウ (平均温度と平均熱量のグラフ) を表示します。もう一度押すと隠します。</source>
        <translation>Shows the history window (graph of the average temperature and heat). Press again to hide it.</translation>
    </message>
    <message>
        <source>実行中のシミュレーションを一時停止します。一時停止中は再開します。</source>
        <translation>Pauses the running simulation; while paused, resumes it.</translation>
    </message>
    <message>
        <source>中央の火炎の強さを切り替えます (消火 → 強火 → 中火 → 弱火)。ボタンの文字は次に選ばれる強さです。</source>
        <translation>Changes the centre burner's flame (off → strong → medium → weak). The caption names the level the next click selects.</translation>
    </message>
    <message>
        <source>両端の火炎の強さを切り替えます (消火 → 強火 → 中火 → 弱火)。ボタンの文字は次に選ばれる強さです。</source>
        <translation>Changes the flame of the burners at both ends (off → strong → medium → weak). The caption names the level the next click selects.</translation>
    </message>
    <message>
        <source>設定ダイアログを開いてシミュレーションを始めます。実行中は止めます (止めた後は続きから実行できます)。</source>
        <translation>Opens the settings dialog and starts the simulation. While it runs, stops it (a stopped run can be continued).</translation>
    </message>
    <message>
        <source>プログラムを終了します。</source>
        <translation>Ends the program.</translation>
    </message>
    <message>
        <source>履歴ウインドウボタンの作成に失敗しました。</source>
        <translation>Failed to create the history window button.</translation>
    </message>
    <message>
        <source>一時停止ボタンの作成に失敗しました。</source>
        <translation>Failed to create the pause button.</translation>
    </message>
    <message>
        <source>中央火炎ボタンの作成に失敗しました。</source>
        <translation>Failed to create the centre flame button.</translation>
    </message>
    <message>
        <source>両端火炎ボタンの作成に失敗しました。</source>
        <translation>Failed to create the ends flame button.</translation>
    </message>
    <message>
        <source>シミュレーションスタート・ストップボタンの作成に失敗しました。</source>
        <translation>Failed to create the simulation start/stop button.</translation>
    </message>
    <message>
        <source>クローズボタンの作成に失敗しました。</source>
        <translation>Failed to create the close button.</translation>
    </message>
    <message>
        <source>履歴ウインドウ</source>
        <translation>History Window</translation>
    </message>
    <message>
        <source>平均温度: %d [ﾟC](青)</source>
        <translation>Avg. temp.: %d [°C] (blue)</translation>
    </message>
    <message>
        <source>平均熱量: %d [J](赤)</source>
        <translation>Avg. heat: %d [J] (red)</translation>
    </message>
    <message>
        <source>履歴ウインドウを作成できませんでした。</source>
        <translation>Could not create the history window.</translation>
    </message>
    <message>
        <source>ビットマップの作成に失敗しました。</source>
        <translation>Failed to create the bitmap.</translation>
    </message>
    <message>
        <source>ビットマップの切り放しに失敗しました。</source>
        <translation>Failed to detach the bitmap.</translation>
    </message>
    <message>
        <source>ビットマップの割り当てに失敗しました。</source>
        <translation>Failed to assign the bitmap.</translation>
    </message>
    <message>
        <source>ビットマップの解放に失敗しました。</source>
        <translation>Failed to release the bitmap.</translation>
    </message>
    <message>
        <source>メモリデバイスコンテキストの作成に失敗しました。</source>
        <translation>Failed to create the memory device context.</translation>
    </message>
    <message>
        <source>メモリデバイスコンテキストの解放に失敗しました。</source>
        <translation>Failed to release the memory device context.</translation>
    </message>
    <message>
        <source>リージョンの作成に失敗しました。</source>
        <translation>Failed to create the region.</translation>
    </message>
    <message>
        <source>リージョンの解放に失敗しました。</source>
        <translation>Failed to release the region.</translation>
    </message>
    <message>
        <source>多角形リージョンの作成に失敗しました。</source>
        <translation>Failed to create the polygon region.</translation>
    </message>
    <message>
        <source>多角形リージョンの解放に失敗しました。</source>
        <translation>Failed to release the polygon region.</translation>
    </message>
    <message>
        <source>ブラシの作成に失敗しました。</source>
        <translation>Failed to create the brush.</translation>
    </message>
    <message>
        <source>ブラシの選択に失敗しました。</source>
        <translation>Failed to select the brush.</translation>
    </message>
    <message>
        <source>ブラシの解除に失敗しました。</source>
        <translation>Failed to deselect the brush.</translation>
    </message>
    <message>
        <source>ブラシの取り外しに失敗しました。</source>
        <translation>Failed to detach the brush.</translation>
    </message>
    <message>
        <source>ブラシの解放に失敗しました。</source>
        <translation>Failed to release the brush.</translation>
    </message>
    <message>
        <source>ペンの作成に失敗しました。</source>
        <translation>Failed to create the pen.</translation>
    </message>
    <message>
        <source>ペンの選択に失敗しました。</source>
        <translation>Failed to select the pen.</translation>
    </message>
    <message>
        <source>ペンの解除に失敗しました。</source>
        <translation>Failed to deselect the pen.</translation>
    </message>
    <message>
        <source>ペンの取り外しに失敗しました。</source>
        <translation>Failed to detach the pen.</translation>
    </message>
    <message>
        <source>ペンの解放に失敗しました。</source>
        <translation>Failed to release the pen.</translation>
    </message>
    <message>
        <source>シミュレーション設定</source>
        <translation>Simulation Settings</translation>
    </message>
    <message>
        <source>初期値の設定</source>
        <translation>Initial values</translation>
    </message>
    <message>
        <source>初めの温度 (0 ～ 100) :</source>
        <translation>Initial temp. (0 - 100):</translation>
    </message>
    <message>
        <source>対流の割合 (0 ～ 1) :</source>
        <translation>Convection (0 - 1):</translation>
    </message>
    <message>
        <source>容器の大きさ(セルの数) (3 ～ 80)</source>
        <translation>Vessel size in cells (3 - 80)</translation>
    </message>
    <message>
        <source>横方向 : </source>
        <translation>Across: </translation>
    </message>
    <message>
        <source>縦方向 : </source>
        <translation>Down: </translation>
    </message>
    <message>
        <source>強火の火力 :</source>
        <translation>Strong flame:</translation>
    </message>
    <message>
        <source>中火の火力 :</source>
        <translation>Medium flame:</translation>
    </message>
    <message>
        <source>弱火の火力 :</source>
        <translation>Weak flame:</translation>
    </message>
    <message>
        <source>熱伝導の係数 :</source>
        <translation>Conduction:</translation>
    </message>
    <message>
        <source>冷却の係数 :</source>
        <translation>Cooling:</translation>
    </message>
    <message>
        <source>室温 :</source>
        <translation>Room:</translation>
    </message>
    <message>
        <source>シミュレーション間隔 :  </source>
        <translation>Step interval:  </translation>
    </message>
    <message>
        <source>履歴グラフの更新頻度 :  </source>
        <translation>History interval:  </translation>
    </message>
    <message>
        <source>続きから実行する(&amp;T)</source>
        <translation>Con&amp;tinue the run</translation>
    </message>
    <message>
        <source>各値をデフォルト値に戻します。</source>
        <translation>All values will be reset to their defaults.</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>整数を入力してください。</source>
        <translation>Please enter an integer.</translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation>Please enter a number.</translation>
    </message>
    <message>
        <source>%1 から %2 までの整数を入力してください。</source>
        <translation>Please enter an integer from %1 to %2.</translation>
    </message>
    <message>
        <source>%1 から %2 までの数値を入力してください。</source>
        <translation>Please enter a number from %1 to %2.</translation>
    </message>
    <message>
        <source>初めの水の温度 [℃]。%1 ～ %2 の整数。</source>
        <translation>Temperature of the water at the start, in °C: an integer from %1 to %2.</translation>
    </message>
    <message>
        <source>対流で上下のセルの熱が入れ替わる割合 (単位なし)。%1 ～ %2 の数値。</source>
        <translation>Share of heat exchanged by convection between a cell and the one below (no unit): a number from %1 to %2.</translation>
    </message>
    <message>
        <source>横方向のセルの数。%1 ～ %2 の整数。</source>
        <translation>Number of cells across the vessel: an integer from %1 to %2.</translation>
    </message>
    <message>
        <source>縦方向のセルの数。%1 ～ %2 の整数。</source>
        <translation>Number of cells from the surface to the bottom: an integer from %1 to %2.</translation>
    </message>
    <message>
        <source>強火が1ティックに底のセルへ与える熱量 [cal/ティック]。整数 (範囲の制限なし)。</source>
        <translation>Heat a strong flame gives the bottom cells, in cal per tick: any integer.</translation>
    </message>
    <message>
        <source>中火が1ティックに底のセルへ与える熱量 [cal/ティック]。整数 (範囲の制限なし)。</source>
        <translation>Heat a medium flame gives the bottom cells, in cal per tick: any integer.</translation>
    </message>
    <message>
        <source>弱火が1ティックに底のセルへ与える熱量 [cal/ティック]。整数 (範囲の制限なし)。</source>
        <translation>Heat a weak flame gives the bottom cells, in cal per tick: any integer.</translation>
    </message>
    <message>
        <source>隣り合うセルの間の熱伝導の係数 (単位なし)。数値 (範囲の制限なし)。</source>
        <translation>Coefficient of heat conduction between neighbouring cells (no unit): any number.</translation>
    </message>
    <message>
        <source>壁と水面から室温へ冷える係数 (単位なし)。数値 (範囲の制限なし)。</source>
        <translation>Coefficient of cooling towards room temperature through the walls and the surface (no unit): any number.</translation>
    </message>
    <message>
        <source>室温 [℃]。整数 (範囲の制限なし)。</source>
        <translation>Room temperature, in °C: any integer.</translation>
    </message>
    <message>
        <source>1ティックの間隔 [ms] (速度 ×1 のとき)。%1 ～ %2 の整数。</source>
        <translation>Time between two ticks at speed ×1, in ms: an integer from %1 to %2.</translation>
    </message>
    <message>
        <source>履歴の標本の間隔 [ティック]。標本は (この値 + 2) ティックごとに取ります。整数 (範囲の制限なし)。</source>
        <translation>Interval of the history samples, in ticks: a sample is taken every (this value + 2) ticks. Any integer.</translation>
    </message>
    <message>
        <source>止めたシミュレーションを続きから実行します。初めの温度と容器の大きさは変わりません。</source>
        <translation>Continues the stopped run; the initial temperature and the vessel size stay as they were.</translation>
    </message>
</context>
</TS>
