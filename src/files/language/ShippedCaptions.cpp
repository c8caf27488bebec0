#include "ShippedCaptions.h"

#include <array>

#include "LangText.h"
#include "LanguageFile.h"
#include "ToSimplified.h"
#include "core/AnsiText.h"

namespace dye {
namespace {

// Entries 0..87 of each language. Entry 79 and entries 88..119 are not used by
// any screen and stay blank. Two screens may share an entry; the comment names
// every control that shows it. Texts must not hold three spaces in a row (the
// file ends a text there) and must fit in 197 bytes.
// clang-format off
constexpr std::array<ShippedCaption, 87> kCaptions{{
    { 0, u"刪除計量",   u"DELETE JOB"},                   // Form3 Command6, menus delete, delete2
    { 1, u"停止",       u"STOP"},                         // Form3 Command8, menu STOP
    { 2, u"執行",       u"RUN"},                          // Form3 Command9, menu RUN
    { 3, u"單號",       u"Order No."},                    // Form3 Label9(3), over the job fields
    { 4, u"桶號",       u"Bucket No."},                   // Form3 Label9(4)
    { 5, u"加水量",     u"Water"},                        // Form3 Label9(5)
    { 6, u"實際水",     u"Actual water"},                 // Form3 Label9(6)
    // Form3 Label9(7) over the grid, Form7 Label1(1)
    { 7, u"代碼",       u"Code"},
    { 8, u"名稱",       u"Name"},                         // Form3 Label9(12)
    { 9, u"配方重",     u"Recipe weight"},                // Form3 Label9(8), Form7 Label1(0)
    {10, u"實際重",     u"Actual weight"},                // Form3 Label9(10)
    {11, u"管號",       u"Tube"},                         // Form3 Label9(9)
    {12, u"天平",       u"Balance"},                      // Form3 Label9(11)
    {13, u"單號",       u"Order No."},                    // Form3 Label9(0), over the queue list
    {14, u"桶號",       u"Bucket No."},                   // Form3 Label9(1)
    {15, u"加水量",     u"Water"},                        // Form3 Label9(2)
    {16, u"修改",       u"MODIFY"},                       // Form3 Command2
    {17, u"清除",       u"CLEAR"},                        // Form3 Command4
    {18, u"存檔",       u"SAVE"},                         // Form3 Command1
    {19, u"刪除",       u"DELETE"},                       // Form3 Command3
    {20, u"排入計量",   u"QUEUE"},                        // Form3 Command5, Form7 Command1
    {21, u"計量資料",   u"DATA"},                         // Form3 menu data
    // Form2 Label1(1), settings field 1
    {22, u"系統掃描時間  45以上", u"Scan time ms (45 or more)"},
    // Form2 Label1(17), settings field 2
    {23, u"計量校正係數30-300", u"Metering coefficient 30-300"},
    {24, u"洗桶次數",   u"Bucket washes"},                // Form2 Label1(18), settings field 3
    // Form2 Label1(20), settings field 5
    {25, u"機型 1=輸送 2=雙天平", u"Machine type 1=conveyor 2=two balances"},
    {26, u"換桶最大重量", u"Max bucket weight"},          // Form2 Label1(21), settings field 6
    {27, u"計量目標誤差", u"Metering tolerance"},         // Form2 Label1(22), settings field 7
    // Form2 Label1(23), settings field 8
    {28, u"每支都換桶計量1=打開", u"New bucket per item 1=on"},
    // Form2 Label1(26) "<1> ", Label1(35) "<2> "
    {29, u"歸零數據",   u"Zero reading"},
    // Form2 Label1(27) "<1> ", Label1(34) "<2> "
    {30, u"目標",       u"Target"},
    // Form2 Label1(28) "<1> ", Label1(33) "<2> "
    {31, u"實際",       u"Actual"},
    // Form2 Label1(29) "<1> ", Label1(32) "<2> "
    {32, u"運行步驟",   u"Step"},
    // Form2 Label1(30) "<1> ", Label1(31) "<2> "
    {33, u"水量",       u"Water"},
    {34, u"清洗桶",     u"WASH BUCKET"},                  // Form3 Command12, Form2 Command14
    {35, u"馬達",       u"Motor"},                        // Form2 Label1(2), beside Combo1
    {36, u"秒數",       u"Time 1/100 s"},                 // Form2 Label1(3), Label1(10), Label1(12)
    {37, u"閥門",       u"Valve"},                        // Form2 Label1(11), beside Combo3
    {38, u"1清洗2輸送閥", u"1=wash 2=conveyor valve"},    // Form2 Label1(13), beside Combo5
    {39, u"輸送馬達秒數", u"Conveyor motor time"},        // Form2 Label1(14), beside Combo7
    {40, u"配方輸入",   u"RECIPE INPUT"},                 // Form2 Command13
    {41, u"語言檔",     u"LANGUAGE"},                     // Form3 menu langage, Form2 Command15
    // Form2 Label1(16), settings field 11
    {42, u"管路設定10=5 14=7 18=9", u"Pipe setting 10=5 14=7 18=9"},
    {43, u"管路上升後延遲", u"Delay after pipe rises"},   // Form2 Label1(25), settings field 12
    {44, u"行車運行狀態", u"Gantry running"},             // Form2 Label1(39), indicator
    {45, u"管路到底",   u"Pipe head down"},               // Form2 Label1(36), indicator
    {46, u"行車運行狀態", u"Gantry running"},             // Form9 Label1(37), indicator
    {47, u"座標存檔",   u"SAVE POSITIONS"},               // Form9 Command12
    {48, u"座標平均",   u"SPREAD POSITIONS"},             // Form9 Command3
    {49, u"X移動距離",  u"X move to"},                    // Form9 Label1(8)
    {50, u"Z移動距離",  u"Z move to"},                    // Form9 Label1(12)
    {51, u"X位置",      u"X position"},                   // Form9 Label1(6)
    {52, u"Z位置",      u"Z position"},                   // Form9 Label1(7)
    {53, u"管路到底",   u"Pipe head down"},               // Form9 Label1(38), indicator
    {54, u"暫存桶名稱", u"Bucket name"},                  // Form9 Label1(15), Label1(1)
    {55, u"清洗水秒數", u"Wash water seconds"},           // Form2 Label1(19), settings field 4
    {56, u"設定",       u"SETTING"},                      // Form3 menu setting
    {57, u"進水中",     u"Filling water"},                // run status: base water in
    {58, u"移桶至計量位", u"Moving bucket to dispensing place"},  // run status: bucket move
    {59, u"清洗中",     u"Washing"},                      // run status: wash after the last row
    {60, u"補水中",     u"Topping up water"},             // run status: top-up water
    {61, u"補水完成",   u"Water topped up"},              // run status: water given, final wash
    {62, u"等待中",     u"Waiting"},                      // two-balance status: a lane waits
    {63, u"準備計量",   u"Preparing"},                    // two-balance status: lane prepared
    {64, u"計量中",     u"Dispensing"},                   // two-balance status: lane dispensing
    {65, u"計量完成",   u"Dispensing done"},              // two-balance status: lane finished
    {66, u"請換桶",     u"Change the bucket"},            // two-balance status: bucket change
    // Form4 Label1, help text
    {67, u"輸入搜索編碼 ENTER 搜索當頁結果  輸入## + 日期 等於搜尋當天 例如 ##02 ##15",
     u"Type an order number and ENTER to search this file; "
     u"## + day finds that day, e.g. ##02 ##15"},
    {68, u"統計當前用量", u"TOTAL USAGE"},                // Form4 Command1
    {69, u"快速計量",   u"QUICK DISPENSE"},               // Form3 Command11
    {70, u"助計代碼",   u"Aux code"},                     // Form2 Label1(41), valve table
    {71, u"校正量1秒",  u"Rate per second"},              // Form2 Label1(42), valve table
    {72, u"工具",       u"TOOL"},                         // Form3 menu TOOL
    {73, u"助劑名稱",   u"Aux name"},                     // Form2 Label1(43), valve table
    {74, u"Y位置",      u"Y position"},                   // Form9 Label1(9)
    {75, u"Y移動距離",  u"Y move to"},                    // Form9 Label1(11)
    {76, u"補距離",     u"Offset"},                       // Form9 Label1(13)
    {77, u"位置設定",   u"POS_SETTING"},                  // Form3 menu POS_SETTING
    {78, u"請輸入配方版次", u"Enter the recipe variant (one character)"},  // scan intake prompt
    {80, u"最小時間1/100", u"Min time 1/100 s"},          // Form2 Label1(53), valve table
    {81, u"暫存桶名稱", u"Bucket name"},                  // Form2 Label1(54), teach table
    {82, u"排水閥",     u"DRAIN VALVE"},                  // Form9 Command4
    {83, u"按鈕狀態",   u"Button state"},                 // Form2 Label1(55), indicator
    {84, u"1前處理助劑", u"1 Pre-treatment"},             // Form15 Command1(0)
    {85, u"2染色助劑",  u"2 Dyeing"},                     // Form15 Command1(1)
    {86, u"3後處理助劑", u"3 After-treatment"},           // Form15 Command1(2)
    {87, u"4其他助劑",  u"4 Other"},                      // Form15 Command1(3)
}};
// clang-format on

bool fitsCodePage(const QString& text) {
    return AnsiCodePage::decode(AnsiCodePage::encode(text)) == text;
}

// The Simplified form as far as the file's code page can hold it: a Big5 file
// lacks most Simplified characters, so each one it lacks keeps its Traditional
// form.
QString simplifiedForCodePage(const QString& traditional) {
    const QString simplified = ToSimplified(traditional);
    if (simplified.size() != traditional.size()) return traditional;
    QString out;
    for (qsizetype i = 0; i < simplified.size(); ++i) {
        const QString one(simplified[i]);
        out += fitsCodePage(one) ? one : QString(traditional[i]);
    }
    return out;
}

}  // namespace

std::span<const ShippedCaption> shippedCaptions() {
    return kCaptions;
}

QList<QString> shippedLanguageTexts() {
    QList<QString> texts(LanguageFile::kRecordCount);
    for (const ShippedCaption& caption : kCaptions) {
        const QString chinese = QString::fromUtf16(caption.chinese);
        texts[caption.k] = chinese;
        texts[LangText::kPerLanguage + caption.k] = QString::fromUtf16(caption.english);
        texts[2 * LangText::kPerLanguage + caption.k] = simplifiedForCodePage(chinese);
    }
    return texts;
}

}  // namespace dye
