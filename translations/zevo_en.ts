<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>Zevo</name>
    <message>
        <source>基板製作見積</source>
        <translation>Board Estimate</translation>
    </message>
    <message>
        <source>基板メーカー</source>
        <translation>Board maker</translation>
    </message>
    <message>
        <source>基板サイズ</source>
        <translation>Board size</translation>
    </message>
    <message>
        <source>mm   製作枚数</source>
        <translation>mm   Quantity</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>部品面</source>
        <translation>Component side</translation>
    </message>
    <message>
        <source>Ａ面</source>
        <translation>Side A</translation>
    </message>
    <message>
        <source>Ｂ面</source>
        <translation>Side B</translation>
    </message>
    <message>
        <source>半田面視</source>
        <translation>Seen from solder side</translation>
    </message>
    <message>
        <source>データ作成</source>
        <translation>Make data</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>見積</source>
        <translation>Estimate</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
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
        <source>全体</source>
        <translation>Whole</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>確認 - </source>
        <translation>Check - </translation>
    </message>
    <message>
        <source>決定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>レイヤー</source>
        <translation>Layer</translation>
    </message>
    <message>
        <source>アパーチャ</source>
        <translation>Aperture</translation>
    </message>
    <message>
        <source>四角形の変更</source>
        <translation>Change Rectangle</translation>
    </message>
    <message>
        <source>Ｘ </source>
        <translation>X </translation>
    </message>
    <message>
        <source>Ｙ </source>
        <translation>Y </translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>円弧変更</source>
        <translation>Change Arc</translation>
    </message>
    <message>
        <source>半径</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>開始角度</source>
        <translation>Start angle</translation>
    </message>
    <message>
        <source>終了角度</source>
        <translation>End angle</translation>
    </message>
    <message>
        <source>文字列変更</source>
        <translation>Change Text</translation>
    </message>
    <message>
        <source>文字列</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>ﾋﾟｯﾁ</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>部品変更</source>
        <translation>Change Part</translation>
    </message>
    <message>
        <source>部品番号</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>文字列挿入</source>
        <translation>Insert text</translation>
    </message>
    <message>
        <source>部品面反転</source>
        <translation>Flip side</translation>
    </message>
    <message>
        <source>ピン名／ピンＮｏ 変更</source>
        <translation>Change Pin Name / No.</translation>
    </message>
    <message>
        <source>ピン名</source>
        <translation>Pin name</translation>
    </message>
    <message>
        <source>ピンNo</source>
        <translation>Pin No.</translation>
    </message>
    <message>
        <source>点線変換</source>
        <translation>To Dotted Line</translation>
    </message>
    <message>
        <source>ドット長</source>
        <translation>Dot length</translation>
    </message>
    <message>
        <source>ドット間</source>
        <translation>Dot gap</translation>
    </message>
    <message>
        <source>変更 設定</source>
        <translation>Change Settings</translation>
    </message>
    <message>
        <source>部品番号優先</source>
        <translation>Reference first</translation>
    </message>
    <message>
        <source>要素優先</source>
        <translation>Element first</translation>
    </message>
    <message>
        <source>任意角の回転</source>
        <translation>Rotate by any angle</translation>
    </message>
    <message>
        <source>選択方法設定</source>
        <translation>Selection Settings</translation>
    </message>
    <message>
        <source>標準(シフトを押しながら単一要素)</source>
        <translation>Standard (Shift for single element)</translation>
    </message>
    <message>
        <source>単一要素(部品)選択</source>
        <translation>Single element (part)</translation>
    </message>
    <message>
        <source>変形方法設定</source>
        <translation>Deform Settings</translation>
    </message>
    <message>
        <source>任意(シフトを押しながら８方向)</source>
        <translation>Any (Shift for 8 directions)</translation>
    </message>
    <message>
        <source>８方向</source>
        <translation>8 directions</translation>
    </message>
    <message>
        <source>回転角 設定</source>
        <translation>Rotation Angle</translation>
    </message>
    <message>
        <source>円弧変形入力</source>
        <translation>Arc Deform Input</translation>
    </message>
    <message>
        <source>レイヤー選択</source>
        <translation>Select Layer</translation>
    </message>
    <message>
        <source>シフトを押しながらで８方向</source>
        <translation>8 directions with Shift</translation>
    </message>
    <message>
        <source>角ライン</source>
        <translation>Square line</translation>
    </message>
    <message>
        <source>クリック点に作画</source>
        <translation>Draw at click point</translation>
    </message>
    <message>
        <source>Ｘ：</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Ｙ：</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>正方形ランド</source>
        <translation>Square land</translation>
    </message>
    <message>
        <source>四角形</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>中心/始点/終点 入力</source>
        <translation>Centre/start/end input</translation>
    </message>
    <message>
        <source>左クリックで其々入力</source>
        <translation>Each by left click</translation>
    </message>
    <message>
        <source>パッド選択</source>
        <translation>Select Pad</translation>
    </message>
    <message>
        <source>間隔表示</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>⊿Ｘ</source>
        <translation>dX</translation>
    </message>
    <message>
        <source>⊿Ｙ</source>
        <translation>dY</translation>
    </message>
    <message>
        <source>間隔</source>
        <translation>Spacing</translation>
    </message>
    <message>
        <source>了解</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>削除設定</source>
        <translation>Delete Settings</translation>
    </message>
    <message>
        <source>クリックで削除</source>
        <translation>Delete on click</translation>
    </message>
    <message>
        <source>円弧入力</source>
        <translation>Arc Input</translation>
    </message>
    <message>
        <source>文字列入力</source>
        <translation>Text Input</translation>
    </message>
    <message>
        <source>左右反転</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>数値入力</source>
        <translation>Numeric Input</translation>
    </message>
    <message>
        <source>相対</source>
        <translation>Relative</translation>
    </message>
    <message>
        <source>原点</source>
        <translation>Origin</translation>
    </message>
    <message>
        <source>絶対</source>
        <translation>Absolute</translation>
    </message>
    <message>
        <source>塗潰し／解除／窓抜き 設定</source>
        <translation>Fill / Unfill / Window Settings</translation>
    </message>
    <message>
        <source>塗潰し(キーを押しながら解除/窓抜き)</source>
        <translation>Fill (keys for unfill/window)</translation>
    </message>
    <message>
        <source>塗潰し解除</source>
        <translation>Unfill</translation>
    </message>
    <message>
        <source>窓抜き</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>平行線設定</source>
        <translation>Parallel Line Settings</translation>
    </message>
    <message>
        <source>平行線(シフトを押しながら中間線)</source>
        <translation>Parallel (Shift for middle line)</translation>
    </message>
    <message>
        <source>左クリックで中間線</source>
        <translation>Middle line by left click</translation>
    </message>
    <message>
        <source>区間を選択</source>
        <translation>Select a section</translation>
    </message>
    <message>
        <source>単一ライン選択</source>
        <translation>Single line</translation>
    </message>
    <message>
        <source>平行線／中間線入力</source>
        <translation>Parallel / Middle Line Input</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>本数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>接続／伸縮／分割／角取 設定</source>
        <translation>Connect / Stretch / Split / Chamfer Settings</translation>
    </message>
    <message>
        <source>接続(キーを押しながら伸縮／分割)</source>
        <translation>Connect (keys for stretch/split)</translation>
    </message>
    <message>
        <source>左クリックで伸縮</source>
        <translation>Stretch by left click</translation>
    </message>
    <message>
        <source>左クリックで分割</source>
        <translation>Split by left click</translation>
    </message>
    <message>
        <source>間隔入力</source>
        <translation>Spacing Input</translation>
    </message>
    <message>
        <source>複数 設定</source>
        <translation>Multiple Settings</translation>
    </message>
    <message>
        <source>選択(シフトを押しながら最後を解除)</source>
        <translation>Select (Shift releases the last)</translation>
    </message>
    <message>
        <source>左クリックで解除</source>
        <translation>Release by left click</translation>
    </message>
    <message>
        <source>グループ設定</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>結合</source>
        <translation>Join</translation>
    </message>
    <message>
        <source>分解</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>部品登録</source>
        <translation>Register Part</translation>
    </message>
    <message>
        <source>ライブラリ</source>
        <translation>Library</translation>
    </message>
    <message>
        <source>部品名</source>
        <translation>Part name</translation>
    </message>
    <message>
        <source>アトリビュート</source>
        <translation>Attribute</translation>
    </message>
    <message>
        <source>部品入力</source>
        <translation>Insert Part</translation>
    </message>
    <message>
        <source>部品入力面反転</source>
        <translation>Insert flipped</translation>
    </message>
    <message>
        <source>部品削除</source>
        <translation>Delete Part</translation>
    </message>
    <message>
        <source>Ｘ</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Ｙ</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>座標表示</source>
        <translation>Coordinates</translation>
    </message>
    <message>
        <source>絶対座標</source>
        <translation>Absolute</translation>
    </message>
    <message>
        <source>原点相対</source>
        <translation>From origin</translation>
    </message>
    <message>
        <source>基準座標設定</source>
        <translation>Coordinate Reference</translation>
    </message>
    <message>
        <source>グリッド原点相対</source>
        <translation>From grid origin</translation>
    </message>
    <message>
        <source>表示記憶</source>
        <translation>Store view</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>バージョン</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>部品検索</source>
        <translation>Find Part</translation>
    </message>
    <message>
        <source>検索</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>プリンタの設定</source>
        <translation>Printer Setup</translation>
    </message>
    <message>
        <source>ESCで中止</source>
        <translation>ESC to stop</translation>
    </message>
</context>
</TS>
