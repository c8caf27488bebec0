#include "status/StatusPage.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <array>

#include "files/language/LangText.h"

namespace dye {
namespace {

// The page's own headings, in the three languages of the station.
struct PageText {
    const char* key;
    std::array<const char16_t*, 3> text;
};
// clang-format off
constexpr PageText kPageTexts[] = {
    {"title",   {u"計量站狀態", u"Station status", u"计量站状态"}},
    {"job",     {u"目前計量單", u"Job on the machine", u"目前计量单"}},
    {"free",    {u"機台空閒", u"The machine is free", u"机台空闲"}},
    {"queue",   {u"排隊計量", u"Queue", u"排队计量"}},
    {"more",    {u"另有 %1 單等待", u"%1 more waiting", u"另有 %1 单等待"}},
    {"empty",   {u"無排隊工作", u"No job waiting", u"无排队工作"}},
    {"alarms",  {u"警報", u"Alarms", u"警报"}},
    {"none",    {u"無警報", u"No alarm", u"无警报"}},
    {"link",    {u"通訊", u"Link", u"通讯"}},
    {"up",      {u"正常", u"up", u"正常"}},
    {"lost",    {u"中斷", u"lost", u"中断"}},
    {"balances",{u"天平讀數", u"Balances", u"天平读数"}},
    {"state",   {u"狀態", u"State", u"状态"}},
    {"row",     {u"行", u"Row", u"行"}},
    {"type",    {u"機型", u"Machine type", u"机型"}},
    {"away",    {u"無法連線到計量站", u"The station does not answer", u"无法连线到计量站"}},
};
// clang-format on

// Captions the screens already show, by their language-table text number.
struct TableText {
    const char* key;
    int k;
};
constexpr TableText kTableTexts[] = {
    {"order", 3},    {"bucket", 4},   {"water", 5},     {"actualWater", 6},
    {"code", 7},     {"recipe", 9},   {"actual", 10},   {"tube", 11},
    {"balance", 12}, {"waiting", 62}, {"metering", 64}, {"done", 65},
};

constexpr char kPage[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><meta name="viewport" content="width=device-width">
<title id="title"></title>
<style>
body{font-family:sans-serif;margin:1em;background:#f4f4f4}
h1{font-size:1.3em}h2{font-size:1.1em;margin-top:1.2em}
table{border-collapse:collapse;background:#fff}
td,th{border:1px solid #bbb;padding:2px 8px;text-align:left}
tr.metering{background:#ff0}tr.done{background:#8f8}
#alarms li{color:#b00;font-weight:bold}#away{color:#b00}
</style></head><body>
<h1 id="heading"></h1><p id="away" hidden></p>
<p><span id="link"></span> &middot; <span id="type"></span> &middot; <span id="run"></span></p>
<p id="waiting"></p>
<h2 id="alarmsHead"></h2><ul id="alarms"></ul>
<h2 id="jobHead"></h2><p id="job"></p>
<table id="rows"></table>
<h2 id="balancesHead"></h2><p id="balances"></p>
<h2 id="queueHead"></h2><ol id="queue"></ol><p id="more"></p>
<script>
const T = %TEXTS%;
function el(tag, text, cls) {
  const e = document.createElement(tag);
  if (text !== undefined && text !== null) e.textContent = String(text);
  if (cls) e.className = cls;
  return e;
}
function fill(id, items) { const e = document.getElementById(id); e.replaceChildren(...items); }
function set(id, text) { document.getElementById(id).textContent = text; }
function show(s) {
  document.getElementById('away').hidden = true;
  set('link', T.link + ': ' + (s.link.up ? T.up : T.lost));
  set('type', T.type + ' ' + s.machineType);
  set('run', s.run);
  set('waiting', s.waiting);
  fill('alarms', s.alarms.length ? s.alarms.map(a => el('li', a.text)) : [el('li', T.none)]);
  document.getElementById('alarms').className = s.alarms.length ? '' : 'none';
  const rows = [];
  if (s.job) {
    set('job', T.order + ' ' + s.job.order + '  ' + T.bucket + ' ' + s.job.bucket + '  ' +
        T.water + ' ' + (s.job.water ?? '') + '  ' + T.actualWater + ' ' +
        (s.job.actualWater ?? ''));
    const head = el('tr');
    for (const k of ['row', 'code', 'recipe', 'actual', 'tube', 'balance', 'state'])
      head.append(el('th', T[k]));
    rows.push(head);
    for (const r of s.job.rows) {
      const tr = el('tr', null, r.state);
      for (const v of [r.row, r.code, r.recipe, r.actual, r.tube, r.balance, T[r.state]])
        tr.append(el('td', v ?? ''));
      rows.push(tr);
    }
  } else {
    set('job', T.free);
  }
  fill('rows', rows);
  set('balances', s.balances.map(b => '<' + b.balance + '> ' +
      (b.weight === null ? '-' : b.weight)).join('   '));
  fill('queue', s.queue.jobs.map(j => el('li', j.order + ' --- ' + j.bucket)));
  set('more', s.queue.more > 0 ? T.more.replace('%1', s.queue.more)
                               : (s.queue.jobs.length ? '' : T.empty));
}
async function refresh() {
  try {
    const r = await fetch('/api/status', {cache: 'no-store'});
    show(await r.json());
  } catch (e) {
    const a = document.getElementById('away');
    a.textContent = T.away;
    a.hidden = false;
  }
}
for (const [id, k] of [['title', 'title'], ['heading', 'title'], ['alarmsHead', 'alarms'],
                       ['jobHead', 'job'], ['balancesHead', 'balances'], ['queueHead', 'queue']])
  set(id, T[k]);
refresh();
setInterval(refresh, 2000);
</script></body></html>
)";

}  // namespace

QByteArray statusPage(const LangText& lang, int language) {
    const int l = LangText::validLanguage(language);
    QJsonObject texts;
    for (const PageText& t : kPageTexts)
        texts.insert(QLatin1String(t.key), QString::fromUtf16(t.text[size_t(l)]));
    for (const TableText& t : kTableTexts) {
        const QString caption = lang.text(l, t.k).trimmed();
        texts.insert(QLatin1String(t.key), caption);
    }
    // JSON inside a script: "</" is written "<\/" so no text can end the script.
    QByteArray json = QJsonDocument(texts).toJson(QJsonDocument::Compact);
    json.replace("</", "<\\/");
    return QByteArray(kPage).replace("%TEXTS%", json);
}

}  // namespace dye
