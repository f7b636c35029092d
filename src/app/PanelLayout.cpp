#include "app/PanelLayout.h"

#include "generator/PanelTexts.h"

namespace tunx::app {

PanelLayout generatorPanelLayout(const frmMainControls& w) {
    using namespace group;
    PanelLayout layout;
    layout.columns = {
        {
            {kMode, {{{w.ModeSelect, 3}}, {{w.Label1, 3}}, {{w.description, 3}}}},
            {kFrequency, {{{w.lfrek}, {w.Frek}, {w.frequnit}}}},
            {kAmplitude, {{{w.lvpp}, {w.Vpp}, {w.VppUnit}}}},
            {kOffset, {{{w.Label22}, {w.VBias}, {w.BiasUnit}}, {{}, {w.BiasMode, 2}}}},
            {kCommands, {{{w.RUN}, {w.STOP}, {w.RefreshBtn}}}},
        },
        {
            {kModulation,
             {{{w.modsource}, {w.modtype, 2}},
              {{w.lamfactor}, {w.amfactor}, {w.amfunit}},
              {{w.lfmdrange}, {w.fmdrange}, {w.fmdrangeunit}}}},
            {kSweep,
             {{{w.lstartf}, {w.startf}, {w.startfunit}},
              {{w.lstopf}, {w.stopf}, {w.stopfunit}},
              {{w.lstepcnt}, {w.stepcnt}},
              {{w.lsteptime}, {w.steptime}, {w.steptimeunit}},
              {{w.singlesw, 3}}}},
            {kPulse,
             {{{w.LPulse}, {w.Pulse}, {w.PulseUnit}},
              {{w.lPausep}, {w.Pause}, {w.PauseUnit}},
              {{w.loutmode}, {w.outmode, 2}},
              {{w.invert, 3}}}},
        },
        {
            {kArbitrary,
             {{{w.larbit}, {w.arbit}, {w.arbmode}},
              {{w.loadfile, 3}},
              {{w.flocation, 2}, {w.SelectFile1}},
              {{w.enpr2, 3}},
              {{}, {w.lprofile1}, {w.lprofile2}},
              {{w.lmultiplier}, {w.multi1}, {w.multi2}},
              {{w.lsartpoint}, {w.startpt1}, {w.startpt2}},
              {{w.lfinalpoint}, {w.endpt1}, {w.endpt2}},
              {{w.lsamplet}, {w.samplet1}, {w.samplet2}},
              {{w.lprofiletime}, {w.profilet1}, {w.profilet2}},
              {{w.lmintime}, {w.mintimen}, {w.mintime}}}},
            {kStatus,
             {{{w.Status, 3}},
              {{w.StatusBar, 3}},
              {{w.Label4}, {w.lmainclk, 2}},
              {{w.Label2}, {w.cmbDevice, 2}},
              {{w.tcali, 3}},
              {{w.calibr_file, 3}}},
             true},
        },
        {
            {kOutput,
             {{{w.termination, 2}},
              {{w.atten, 2}},
              {{w.compon, 2}},
              {{w.lowgain, 2}},
              {{w.undersmon, 2}},
              {{w.Label5}, {w.tbsgaten}},
              {{}, {w.ampgain}},
              {{w.Calibrate, 2}}}},
        },
    };
    return layout;
}

}  // namespace tunx::app
