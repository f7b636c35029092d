// Where the monitor window's controls sit: the plot on the left, the instruments' groups in
// two columns beside it.
#include "app/PanelLayout.h"
#include "monitor/PanelGroups.h"

namespace tunx::app {

PanelLayout monitorPanelLayout(const Form1Controls& w) {
    using namespace monitorgroup;
    PanelLayout layout;
    layout.plot = PlotPlacement{
        w.Picture1,
        {w.ldiv0, w.ldiv1, w.ldiv2, w.ldiv3, w.ldiv4, w.ldiv5, w.ldiv6, w.ldiv7, w.ldiv8},
        w.ldivunit,
        {w.ch1text, w.ch2text, w.trigertext},
        {w.labstartfr, w.centerfr, w.labstopfr},
        {w.tdivtext, w.ch1vdivtext, w.ch2vdivtext, w.horpostext, w.fftmaxfrequency, w.mathvdivtext,
         w.refatext, w.refbtext, w.acqtext},
        {w.measch1, w.measch2},
        w.sweepprogress,
        {w.timech1, w.timech2},
        {w.statch1, w.statch2},
        w.cntgate,
        w.cnthistory,
        w.measmath,
    };
    layout.columns = {
        {
            {kMode,
             {{{w.selmonmode, 2}},
              {{w.textstatus, 2}},
              {{w.cmdstartsweep}, {w.cmdstop}},
              {{w.cmdautoset}, {w.fastsweep}}}},
            {kScope,
             {{{w.ladcmode}, {w.adcselect}},
              {{w.lsamplingmode}, {w.scopemode}},
              {{w.ltimebase}, {w.seltimediv}},
              {{w.ltrigsource}, {w.trigsource}},
              {{w.ltrigedge}, {w.trigeredge}},
              {{w.ltrigmode}, {w.trigmode}},
              {{w.reclenght}, {w.Command2}},
              {{w.lfftdisplay}, {w.fftscale}},
              {{w.lfftwindow}, {w.fftwindow}},
              {{w.lfftaverage}, {w.fftaverage}},
              {{w.ffthold}, {w.cmdfft}},
              {{w.fftpeak, 2}},
              {{w.measstats}, {w.cmdresetstats}}}},
            {kCursors, {{{w.TabStrip2, 2}}, {{w.Slider1, 2}}, {{w.TabStrip3, 2}}}},
        },
        {
            {kSweep,
             {{{w.lstartf}, {w.startf}, {w.startfunit}},
              {{w.lstopf}, {w.stopf}, {w.stopfunit}},
              {{w.lstartamp}, {w.textstarta}, {w.combstarta}},
              {{w.lstopamp}, {w.textstopa}, {w.combstopa}},
              {{w.cmdfastsweep, 3}}}},
            {kSweepMonitor,
             {{{w.Label7}, {w.textfr}, {w.Label17}},
              {{w.Label8}, {w.Textpower}, {w.labvoltunit}},
              {{w.lsweepdisplay}, {w.selrfrange, 2}},
              {{w.labchsel, 3}}}},
            {kChannels,
             {{{w.ch1label}, {w.ch1vdiv}},
              {{w.ch2label}, {w.ch2vdiv}},
              {{w.lmath}, {w.mathmode}, {w.mathvdiv}},
              {{w.ldisplay}, {w.acqmode}, {w.persistence}},
              {{w.CRCH}, {w.combocursorselect}, {w.xyview}}},
             true},
            {kCounter,
             {{{w.lch2in}, {w.cntdisplay, 2}},
              {{w.frangesel, 3}},
              {{w.frcountertxt, 2}, {w.lfrcntinit}}}},
        },
    };
    return layout;
}

}  // namespace tunx::app
