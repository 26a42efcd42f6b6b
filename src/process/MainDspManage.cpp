// The fixed catalogue of the calculation process: process-type titles, advice texts, the step record,
// the normalisation of a process text and the split into the records the display draws.
#include "process/MainDspManage.h"

#include <algorithm>

using namespace std::string_view_literals;

// The titles, by process type.
const std::array<std::string_view, PROCESS_TYPE_COUNT> ProcessTypeTitles{
    "タイプ[00]::[指定外・直接計算]",
    "タイプ[01]::[分数の加減] <真分数・仮分数> のみの場合",
    "タイプ[02]::[分数の加減] <整数や帯分数をふくむ> ２数以上の場合 ▼別解F6▼",
    "タイプ[03]::[分数の加減] <整数と帯分数> ２数の場合 ▼別解F6▼",
    "タイプ[04]::[分数の加減] <小数と分数(＆整数)> の場合 ▼別解F6▼",
    "タイプ[05]::[分数の加減] <整数と仮分数> ２数の場合 ▼別解F6▼",
    "タイプ[06]::[分数の加減] <整数と真分数> ２数の場合 ▼別解F6▼",
    "タイプ[07]::[分数の加減] <帯分数と仮分数> ２数の場合 ▼別解F6▼",
    "タイプ[08]::[分数の加減] <帯分数のみ> ２数以上の場合 ▼別解F6▼",
    "タイプ[09]::[約分のプロセス]",
    "タイプ[10]::[分数の乗除] <真分数・過分数> のみの場合",
    "タイプ[11]::[分数の乗除] <帯分数をふくむ分数> の場合",
    "タイプ[12]::[分数の乗除] <小数・整数をふくむ分数> の場合",
    "タイプ[13]::[分数の乗除] <小数・整数(・帯分数)を含む> 場合",
    "タイプ[14]::[小数 ⇒ 分数] 変形のプロセス",
    "タイプ[15]::[循環小数 ⇒ 分数] 変形のプロセス",
    "タイプ[16]::[分数の乗除] <小数・整数・帯分数を含む分数> の場合",
    "タイプ[17]::[仮分数 ⇒ 帯分数] 変形のプロセス",
    "タイプ[18]::[帯分数 ⇒ 仮分数] 変形のプロセス",
};

// The advice texts, by step number; slot 0 is the empty text of a step without advice.
const std::array<std::string_view, ADVICE_COUNT> AdviceTexts{
    ""sv,
    "⇒ 約分できるものは､まず約分しよう。[1]",
    "⇔ [約分] 約分は､分母・分子を同じ数で割ります。||　　(割り切れなくなるまで､割るよ)▼[2]",
    "⇒ 分母を同じに(通分)しよう(各分母の最小公倍数に通分)。▽[3]",
    "⇔ ▼[通分] 分母がそろうよう､各分数の分母・分子に同じ数を||　　かけます。(普通は､各分母の最小公倍数にそろえるよ)[4]",
    "⇒ 分母が同じ分数は､分母を一つにして、||　 分子だけの加減を行います。▼[5]",
    "⇒ [整数部を分離] 帯分数を､整数部と分数部に分けよう。▼[6]",
    "⇒ 整数と分数のグループを､それぞれまとめよう。▼[7]",
    "⇒ 小数・整数は､まず分数に直そう。▽[8]",
    "⇒ (必要なら)仮分数の答は､帯分数に直そう。[9]",
    "⇒ < 正の整数＋真分数 > は､そのまま合体して､帯分数にできますよ。[10]",
    "⇒ 整数には <分母＝分子> の分数をかけて 分数に直し､通分しよう。[11]",
    "⇒ 整数を仮分数に直して､通分しよう。[12]",
    "⇒ 仮分数を帯分数に直そう。[13]",
    "⇒ －◆－■ の形は －(◆＋■) の形に直そう。[14]",
    "⇒ 分子に付いている < － > の符号は､そのまま分数の前に出します。[15]",
    "⇒ 整数と分数のグループを､それぞれ計算そう。[16]",
    "⇒ 整数のグループを計算しましょう。[017]",
    "⇒ ０と数をたしても､数の大きさは変わらないよ。[18]",
    "⇒ －０は０と同じです。<０－正数>は負の数になるよ。[19]",
    "⇒ 計算終了しました。ホっ!! 時間があれば検算しよう！　(^_^) [20]",
    "⇒ (　) の中の帯分数を､整数部と分数部に分けよう。[21]",
    "⇒ 整数どうしを計算しましょう。[22]",
    "⇒ <０－正数> は負の数になるよ。[23]",
    "⇒ －(◆＋■) のかっこを外すと －◆－■ の形になるよ。[24]",
    "⇒ 上式で、先に計算するところを( ) でくくりました。[25]",
    "⇒ ( )内の < 正の整数＋真分数 > は､そのまま合体して、帯分数にしよう。[26]",
    "⇒ [ －整数－真分数 ] は、－(◆＋■) の形に直してから、帯分数をつくろう。[27]",
    "⇒ 整数の１を､仮分数にして通分しましょう。分母は分数と同じにします。[28]",
    "⇒ 整数の内の１だけ分けて、その１を仮分数にして通分していきます。[29]",
    "⇒ 分子＝０ の分数は ０ だよ。[30]",
    "⇒ －０は０と同じです。０＋正数 は、その正数のままですね。[31]",
    "⇒ ＋(◆＋■) のかっこを外すと ＋◆＋■ の形になるよ。[32]",
    "⇒ －◆[整数]＋■[真分数] は、まず －(◆－■) の形に直そう。[33]",
    "⇒ ( )の中を計算したあと、( )をとって ( )の前の － を付けよう。[34]",
    "⇔ 上式の 分母を１つにまとめた式 です。[35]",
    "⇒ ０を引いても､数の大きさは変わりませんよ。[36]",
    "⇒ 整数どうしをまとめて､計算しましょう。[37]",
    "⇒ 全部、仮分数にしてから、通分＆計算をします。[38]",
    "⇒ 分母が１の分数は整数にもどし､整数どうしの計算にしよう。[39]",
    "⇒ (必要なら、) 帯分数の答を､仮分数に直そう。[40]",
    "⇒ 整数と分数のグループを､それぞれ計算しましょう。[41]",
    "⇒  ＋(－◆) の ( ) を外すと －◆ になるよ。[42]",
    "⇒ [方針] 分子÷分母 を計算し、[商]と[余り]を求めます。[43]",
    "⇔ 分子を、分母×[商]＋[余り] に分解しました。[44]",
    "⇔ 上の分数[式]を､同じ分母の､２つの分数に分けました。[45]",
    "⇔ 前の分数は、分母で割り切れて(約分できて)、整数になりました。[046]",
    "⇔ 整数と真分数を合体して､帯分数ができました。||　 ◎結局､[商]と[分母]分の[余り]､に直せるんだね！ <終わり>[47]",
    "⇔ [余り]が０の場合､約分すると分母が１の分数になります。[48]",
    "⇔ 分母が１の分数は､そのまま分母を取って、整数になりました。<終わり>[49]",
    "⇒ [方針] 帯分数の整数部を仮分数に直し､分数部に加えます。[50]",
    "⇔ ▼整数部と分数部を分離しました。[51]",
    "⇒ 整数を､分数の分母と同じ分母で､仮分数に直そう。(＝通分)[52]",
    "⇒ 分母が１の分数は､そのまま分母を取って、整数になるよ。[53]",
    "⇒ 整数は、分母を１とした仮分数に直せるよ。[54]",
    "⇒ 仮分数ができました。<終わり>[55]",
    "⇒ [約分の方法] 分母と分子を、同じ数[両数の(最大)公約数]で割ります。||　　何段階かに分けて割っていってもいいよ。▼[56]",
    "⇔ 斜線を引いて､商をそれぞれ上､下やや右に書きます。||　割り切れなくなるまで､同じように続けよう。[57]",
    "⇒ 斜線を引いて､商をそれぞれ上､下やや右に書きます。||　(整数部はそのままにしておくよ)[58]",
    "⇒ もう約分できないか､もう一度たしかめよう。(^_^) <終わり>[59]",
    "⇒ かけ算だけのときは､分母どうし､分子どうしをかけよう。[60]",
    "⇒ [ ÷分数 ]の形は､[ ×(分数の逆数) ]の形に直そう。[61]",
    "⇒ かけてある分数どうしでは､どの分母と分子の間でも||　 約分できるよ。割れるものから割っていこう。[62]",
    "⇒ ０をかけると､どんな数も０になるよ。[63]",
    "⇔ 約分が終わったら､分母どうし､分子どうしを､かけよう。[64]",
    "⇔ 約分がなければ､分母どうし､分子どうしを､かけよう。[65]",
    "⇒ 乗除計算では､帯分数はまず､仮分数に直そう。▼[66]",
    "⇒ 小数・整数は､まず､分数の形に直そう。▼[67]",
    "⇒ 帯分数は仮分数に､小数・整数も分数の形に直そう。[68]",
    "⇔ 逆数は､仮分数の分母と分子を入れ替えて､つくりました。[69]",
    "⇒ (符号・整数部はそのままで､) 小数部のみ分数に直します。[70]",
    "⇒ 分母は１０…(小数部のけた数だけ 0 を書く)とし、||　 小数部をそのまま分子にします。[71]",
    "⇔ 約分できるときは､約分します。[72]",
    "⇒ 既約分数（約分の終わった分数）になりました。(~_~) <終わり>[73]",
    "⇒ [方針①]いったん帯分数を仮分数に直し､||　　　通分して計算します。▼[74]",
    "⇒ [方針②]いったん仮分数を帯分数に直し､||　　　整数部と分数部を分けて計算します。▼[75]",
    "⇒ 循環部が､小数点の直後にくるように､||　 単位分数をかけて､変形しよう。[76]",
    "⇒ 循環部が小数点の直後にくるよう､単位分数をかけて､式を変形。||　 単位分数の分母は､循環部を左にずらすケタ数だけ 0 を付けます。[77]",
    "⇔ <循環部⇒分数> 循環部のケタ数だけ９を書いて分母に､||　 循環部をそのまま分子にする。[78]",
    "⇒ かけて､循環部を一つの分数にします。[79]",
    "⇒ [非循環部がある場合]||　 まず、非循環部と循環小数に分けよう。▼[80]",
    "⇒ 次に､非循環部を､分数に直そう。(普通の<小数⇒分数>変換)[81]",
    "⇒ 次に､循環小数を､分数に直します。[82]",
    "⇒ 循環部は､符号・整数部はそのままで､小数部のみ分数に直します。[83]",
    "⇒ 通分しよう。||　 [整数部があれば分離しておき､最後に合体します] [84]",
    "⇒ 整数部を分離しました(通分をわかりやすくするため)。[85]",
    "⇒ [循環小数の素形→分数]||　 分母は循環ケタ数だけ９を書き､分子は１にします。[86]",
    "⇒ <循環小数の素形×乗数> の形にしよう。[87]",
    "⇒ 循環小数の素形 を分数に直そう。[88]",
    "⇒ ▼かけて１つの分数にしよう。[89]",
    "⇔　↓　(途中経過)[90]",
    "⇒ (  ）をはずそう。＋－の符号に注意すること。[91]",
    "⇒ 整数を､前に出します。<*>[92]",
    "⇒ (  ）を外す。<－>の個数が奇数個なら､式の先頭を<－>にしよう。[93]",
    "⇒ ０を､０以外のどんな数で割っても､０になるよ。[94]",
    "⇒ [帯分数かつ仮分数の場合] 整数部と分数部に分けて考えよう。[95]",
    "⇔ <終わり>[96]",
    "⇔ <分母＝分子>の分数は １ になるよ。[97]",
    "⇒ 分母は１０…(小数部のけた数だけ 0 を書く)とし、||　 小数部をそのまま分子にしました。[98]",
    "⇔ ▼分母をそろえる(通分する)ために､<分母＝分子>の分数をかけます。||　<分母＝分子>の分数は１と同じなので､かけても大きさは変わらないよ。[99]",
};

bool IsHiddenStep(int n) {
  return std::any_of(HiddenSteps.begin(), HiddenSteps.end(), [n](Advice a) { return AdviceNumber(a) == n; });
}

std::string_view ProcessTypeTitle(int type) {
  if (type < 0 || type >= PROCESS_TYPE_COUNT) return {};
  return ProcessTypeTitles[static_cast<size_t>(type)];
}

std::string PaperProcessTypeTitle(int type) {
  std::string title(ProcessTypeTitle(type));
  const std::string hint = " ▼別解F6▼";
  if (const size_t at = title.find(hint); at != std::string::npos) title.erase(at, hint.size());
  return title;
}

std::string_view AdviceText(int n) {
  if (n < 0 || n >= ADVICE_COUNT) return {};
  return AdviceTexts[static_cast<size_t>(n)];
}

std::string StepRecord(Advice advice, char style, const std::string& expression) {
  int step = AdviceNumber(advice);
  if (step < 0 || step >= ADVICE_COUNT) step = 0;
  std::string r = "~0";
  r += static_cast<char>('0' + step / 10);
  r += static_cast<char>('0' + step % 10);
  r += style;
  r += '=';
  r += expression;
  return r;
}

namespace {

bool IsStyleLetter(char c) { return c == 'X' || c == 'Y' || c == 'Z' || c == 'A'; }

// Replaces every occurrence in one left-to-right pass; replaced text is not scanned again.
std::string ReplaceAll(const std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return text;
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (true) {
    size_t hit = text.find(from, pos);
    if (hit == std::string::npos) break;
    out.append(text, pos, hit - pos);
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text, pos, std::string::npos);
  return out;
}

// The expression of a record: after the four-character code, and after its "=" unless it is the first
// record, whose "=" was removed.
std::string RecordExpression(const std::string& record, bool first) {
  if (record.size() < 4 || !IsStyleLetter(record[3])) return record;
  std::string e = record.substr(4);
  if (!first && !e.empty() && e[0] == '=') e.erase(0, 1);
  return e;
}

}  // namespace

std::string NormalizeProcessText(const std::string& raw) {
  if (raw.empty()) return raw;
  std::string t = raw;
  // The text starts with a record's code, not with its opener.
  size_t lead = 0;
  while (lead < t.size() && (t[lead] == '=' || t[lead] == '~')) ++lead;
  t.erase(0, lead);
  // The first record is written without the "=" after its style letter.
  if (t.size() >= 5 && t[4] == '=') t.erase(4, 1);
  if (t.empty() || t.back() != '~') t += '~';
  t = ReplaceAll(t, "==", "=");
  t = ReplaceAll(t, "=~", "~");
  t = ReplaceAll(t, "~~", "~");
  // A sign right after "=" is the unary sign of the notation; a plus sign is dropped.
  t = ReplaceAll(t, "=-", "=m");
  t = ReplaceAll(t, "=+", "=");
  t = ReplaceAll(t, "(+", "(");
  t = ReplaceAll(t, "(-", "(m");
  // Every "=" that is not a record separator starts a further line of style X without advice.
  t = ReplaceAll(t, "X=", "##");
  t = ReplaceAll(t, "Y=", "$$");
  t = ReplaceAll(t, "Z=", "%%");
  t = ReplaceAll(t, "A=", "&&");
  t = ReplaceAll(t, "=", "~000X=");
  t = ReplaceAll(t, "##", "X=");
  t = ReplaceAll(t, "$$", "Y=");
  t = ReplaceAll(t, "%%", "Z=");
  t = ReplaceAll(t, "&&", "A=");
  if (!t.empty() && t[0] == '-')
    t[0] = 'm';
  else if (!t.empty() && t[0] == '+')
    t.erase(0, 1);
  if (t.size() <= 3 || !IsStyleLetter(t[3])) t = "090X" + t;
  if (t.find('=') == std::string::npos) return ReplaceAll(t, "~~", "~");

  // Collapse repeated lines: of two neighbouring records that show the same line only the later stays.
  std::vector<std::string> records;
  size_t start = 0;
  while (start < t.size()) {
    size_t end = t.find('~', start);
    if (end == std::string::npos) end = t.size();
    if (end > start) records.push_back(t.substr(start, end - start));
    start = end + 1;
  }
  std::vector<bool> keep(records.size(), true);
  for (size_t i = 1; i < records.size(); ++i) {
    const std::string& cur = records[i];
    const std::string& prev = records[i - 1];
    bool same;
    if (cur.size() >= 4 && cur[3] == 'X')
      same = RecordExpression(cur, false) == RecordExpression(prev, i - 1 == 0);
    else
      same = cur == prev;
    if (same) keep[i - 1] = false;
  }
  std::string out;
  for (size_t i = 0; i < records.size(); ++i)
    if (keep[i]) out += records[i] + "~";
  out = ReplaceAll(out, "~~", "~");
  if (out.size() >= 5 && IsStyleLetter(out[3]) && out[4] == '=') out.erase(4, 1);
  return out;
}

std::vector<ProcessLine> SplitProcessText(const std::string& normalized) {
  std::vector<ProcessLine> lines;
  size_t start = 0;
  while (start < normalized.size()) {
    size_t end = normalized.find('~', start);
    if (end == std::string::npos) end = normalized.size();
    std::string rec = normalized.substr(start, end - start);
    start = end + 1;
    if (rec.empty()) continue;
    ProcessLine line;
    if (rec.size() >= 4 && IsStyleLetter(rec[3])) {
      int n = 0;
      for (int k = 0; k < 3; ++k) {
        char c = rec[static_cast<size_t>(k)];
        n = (c >= '0' && c <= '9') ? n * 10 + (c - '0') : n * 10;
      }
      line.advice = (n < ADVICE_COUNT) ? n : 0;
      line.style = rec[3];
      rec.erase(0, 4);
    }
    if (!rec.empty() && rec[0] == '=') {
      line.newRow = true;
      rec.erase(0, 1);
    }
    line.expr = rec;
    lines.push_back(line);
  }
  return lines;
}

std::vector<ProcessLine> VisibleProcessLines(const std::string& normalized, int detail) {
  std::vector<ProcessLine> all = SplitProcessText(normalized);
  if (detail != 0) return all;
  std::vector<ProcessLine> shown;
  for (size_t i = 0; i < all.size(); ++i)
    if (i == 0 || !IsHiddenStep(all[i].advice)) shown.push_back(all[i]);
  return shown;
}
