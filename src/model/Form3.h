#pragma once

#include "core/ControlArray.h"
#include "model/Color.h"
#include "model/Controls.h"

namespace dye {

// The main screen (MainForm, caption "INPUT"). The job on the machine is
// projected onto it once per pass (JobDisplay): order Label2, bucket Label5,
// water Label6, actual water Label7, extras Label18(0..3), and the
// dispensing grid Label4(0..59).
struct Form3 {
    QString Caption = QStringLiteral("INPUT");
    bool Visible = true;
    Color BackColor = kFormGrey;

    // The job on the machine.
    Label Label2;                    // order number
    Label Label5;                    // bucket number
    Label Label6;                    // water amount
    Label Label7;                    // actual water; yellow while the water runs
    ControlArray<Label, 4> Label18;  // the four extra job fields
    // DispenseGrid: row r (0..9) of column c is Label4(10c + r); see DispenseGrid.h.
    ControlArray<Label, 60> Label4;

    ControlArray<Label, 13> Label9;  // column headers
    ControlArray<Label, 10> Label1;  // row numbers beside the grid
    ControlArray<Label, 10> Label3;  // row numbers beside the grid
    ControlArray<Label, 2> Label10;  // status of balance 1 and 2
    ControlArray<Label, 4> Label11;  // balance captions and two status labels
    Captions<8> Label12;             // Label12(0) TransferStep; (4) the robot check state
    Label Label8;                    // blinking run indicator
    Label Label13;                   // intake poll counter
    Label Label20;                   // idle status ticks (idle mixing)
    Label Label14;                   // settings field 21 on its palette colour
    Label Label15;                   // wash clock (diagnostic)
    Label Label16;                   // wash weight-watch hold (diagnostic)
    Label Label17;                   // diagnostic
    Label Label19;                   // RowStep "="
    Label Label22;                   // run diagnostics
    QString Label21;                 // the scan's diagnostic line
    QString Status;                  // why the run waits, when it cannot go on ("" when it can)
    QString PlantWaiting;            // how many write-backs wait for the plant database

    ListBox List1;    // saved recipes, newest first
    ListBox List2;    // the queue, oldest first
    ComboBox Combo1;  // bucket place names

    // Recipe entry fields (their handlers come with recipe editing).
    Captions<20> Text1;  // codes 0..9, weights 10..19
    QString Text2;
    QString Text3;
    QString Text4;  // intake message box

    CheckBox Check1{QStringLiteral("D985")};
    CheckBox Check2{QStringLiteral("AUTO IN")};
    CheckBox Check3{QStringLiteral("MIX ON")};
    CheckBox Check4{QStringLiteral("WASH1")};
    CheckBox Check5{QStringLiteral("multi-DEL")};
    CheckBox Check6{QStringLiteral("Finish_DEL")};

    Picture Picture1;
    Picture Picture2;

    // Menu. The entry "delete" is delete_ (a reserved word in C++).
    MenuEntry TOOL{QStringLiteral("TOOL")};
    MenuEntry data{QStringLiteral("DATA")};
    MenuEntry langage{QStringLiteral("LANGUAGE")};
    MenuEntry setting{QStringLiteral("SETTING")};
    MenuEntry POS_SETTING{QStringLiteral("POS_SETTING")};
    // Shows the diagnostic counters and the plant test row's button, after
    // the access code; chosen again, hides them.
    MenuEntry technician{QStringLiteral("TECHNICIAN VIEW")};
    MenuEntry R_TOOL{QStringLiteral("R_TOOL")};
    MenuEntry delete_{QStringLiteral("DELETE")};
    MenuEntry RUN_TOOL{QStringLiteral("RUN_TOOL")};
    MenuEntry RUN{QStringLiteral("RUN")};
    MenuEntry STOP{QStringLiteral("STOP")};
    MenuEntry delete2{QStringLiteral("DELETE")};

    Button Command1{QStringLiteral("存檔")};
    Button Command2{QStringLiteral("修改")};
    Button Command3{QStringLiteral("刪除")};
    Button Command4{QStringLiteral("清除")};
    Button Command5{QStringLiteral("排入計量")};
    Button Command6{QStringLiteral("刪除計量")};
    Button Command7{QStringLiteral("計量資料")};
    Button Command8{QStringLiteral("停止")};
    Button Command9{QStringLiteral("執行")};
    Button Command10{QStringLiteral("設定")};
    Button Command11{QStringLiteral("快速計量")};
    Button Command12{QStringLiteral("WASH")};
    Button Command13{QStringLiteral(""), true, false};  // technician view only
    bool TechnicianView = false;
    Button Command14{QStringLiteral("UPDATE")};

    Form3() {
        Label11[0].Caption = QStringLiteral("< 1 >");
        Label11[1].Caption = QStringLiteral("< 2 >");
        // The extra job fields are carried, not shown.
        for (Label& l : Label18) l.Visible = false;
    }
};

// The closing notice shown while the program ends.
struct Form13 {
    QString Caption = QStringLiteral("CLOSE NOW...");
    QString Label1 = QStringLiteral("CLOSE NOW...");
    bool Visible = false;
};

}  // namespace dye
