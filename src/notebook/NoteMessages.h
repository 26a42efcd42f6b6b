// What the notebook's commands ask and tell, in the words both editions' notebooks use: the desktop's
// window (ui/notebook/Notebook) and the page's (web/WebNotebook) show these and no words of their own.
#pragma once

inline constexpr const char* NOTE_CONFIRM_CAPTION = "ご確認";
inline constexpr const char* NOTE_REPORT_CAPTION = "ご報告！";

// A command on the selected line with none selected.
inline constexpr const char* NOTE_NONE_SELECTED_ADD = "式が選択されていません。\n\n新しく追加しますか。";
inline constexpr const char* NOTE_SELECT_TO_DELETE = "削除したい式を選択してください。";
inline constexpr const char* NOTE_SELECT_TO_DELETE_ANSWER = "答を削除したい式を選択してください。";
inline constexpr const char* NOTE_SELECT_TO_CALCULATE = "答を書き換えたい式を選択してください。";
inline constexpr const char* NOTE_SELECT_TO_COPY = "複写したい式を選択してください。";

// The questions before a command changes the page.
inline constexpr const char* NOTE_ASK_DELETE = "選択した式を削除します。\n\nいいですか？";
inline constexpr const char* NOTE_ASK_DELETE_ANSWER = "選択した式の答えを削除します。\n\nいいですか？";
inline constexpr const char* NOTE_ASK_REWRITE_ANSWER =
    "選択問題の答えを書き換えます。\n\nそれでもいいですか？";
inline constexpr const char* NOTE_ASK_REWRITE_ALL = "答えをすべて書き換えます。\n\nそれでもいいですか？";
inline constexpr const char* NOTE_ASK_DELETE_ALL_ANSWERS = "答えをすべて削除します。\n\nいいですか？";
inline constexpr const char* NOTE_ASK_SAVE_BEFORE_CLEAR =
    "テキストは編集されています。\n\nﾉｰﾄをｸﾘｱｰする前に変更を保存しますか？";
inline constexpr const char* NOTE_ASK_SAVE_BEFORE_OPEN =
    "現在のノートは、編集されています。\n\n保存しておきますか？";

// A page read from a file with lines the checker refuses.
inline constexpr const char* NOTE_BAD_LINES_TEXT =
    "読み込んだ式に、不正箇所がありました。\n｢適切さチェック｣を行った後で、｢反映終了｣して下さい。";
inline constexpr const char* NOTE_BAD_LINES_CAPTION = "ご注意!!";
