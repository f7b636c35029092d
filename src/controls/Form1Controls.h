#pragma once

#include "window/Ctl.h"

namespace tunx {

// The monitor window's controls, one handle each, named as the program names them and
// declared in the window's control order.
struct Form1Controls {
    // Mode, commands and status.
    Ctl selmonmode, cmdstartsweep, cmdstop, textstatus, fastsweep;
    // Sweep set-up: frequency and amplitude inputs.
    Ctl frfrsweep, lstartf, startf, startfunit, lstopf, stopf, stopfunit, cmdfastsweep, lstartamp,
        textstarta, combstarta, lstopamp, textstopa, combstopa;
    // Sweep readouts.
    Ctl Frame6, Label7, textfr, Label17, Label8, Textpower, labvoltunit, labchsel, lsweepdisplay,
        selrfrange;
    // Scope controls.
    Ctl frscope, ladcmode, adcselect, lsamplingmode, scopemode, ltimebase, seltimediv, ltrigsource,
        trigsource, ltrigedge, trigeredge, ltrigmode, trigmode, reclenght, Command2, lfftdisplay,
        fftscale, cmdfft;
    // Channels and the cursor channel.
    Ctl ch1label, ch1vdiv, ch2label, ch2vdiv, CRCH, combocursorselect;
    // Position and cursor controls.
    Ctl Frame12, TabStrip2, TabStrip3, Slider1;
    // Frequency counter.
    Ctl frekounter, lch2in, frangesel, frcountertxt, lfrcntinit;
    // The plot and the texts around it.
    Ctl Picture1, ldiv0, ldiv1, ldiv2, ldiv3, ldiv4, ldiv5, ldiv6, ldiv7, ldiv8, ldivunit, tdivtext,
        ch1vdivtext, ch2vdivtext, horpostext, centerfr, labstartfr, labstopfr, fftmaxfrequency,
        ch1text, ch2text, trigertext;
    // The 10 ms timer; disabled, it skips its ticks.
    Ctl Timer1;
    // Beside the original controls: the measurement readouts of each channel, the spectrum's
    // window and strongest line, the sweep's progress, "Auto Set", and the File menu's exports.
    Ctl measch1, measch2, lfftwindow, fftwindow, fftpeak, sweepprogress, cmdautoset;
    // The measurement statistics: on or off, their reset, and per channel its edges and table.
    Ctl measstats, cmdresetstats, timech1, timech2, statch1, statch2;
    // The counter's large display: its switch, the gate and resolution, the last readings.
    Ctl cntdisplay, cntgate, cnthistory;
    // The spectrum's power average over the last records and its max hold.
    Ctl lfftaverage, fftaverage, ffthold;
    Ctl MenuBar_File, MenuBar_ExportScope, MenuBar_ExportSweep, MenuBar_ExportSpectrum,
        MenuBar_SavePlot;
    // The math trace of both channels: its operation, its own V/div, its measurement line and
    // its caption under the plot; and the XY view.
    Ctl lmath, mathmode, mathvdiv, measmath, mathvdivtext, xyview;
    // The reference traces: the File menu's entries that save, load and clear them, and their
    // captions under the plot.
    Ctl MenuBar_SaveRefA, MenuBar_SaveRefB, MenuBar_LoadRefA, MenuBar_LoadRefB, MenuBar_ClearRefs,
        refatext, refbtext;
    // The Help menu: the user's guide.
    Ctl MenuBar_Help, MenuBar_UsersGuide;
    // How the scope shows its records (average, peak detect) and how long earlier traces stay,
    // with the plot's caption that says so.
    Ctl ldisplay, acqmode, persistence, acqtext;
};

}  // namespace tunx
