#pragma once

#include "window/Ctl.h"

namespace tunx {

// The generator window's controls, one handle each, named as the program names them and
// declared in the window's control order (a saved configuration follows that order).
struct frmMainControls {
    // Entry controls, in saving order.
    Ctl mintimen, enpr2, arbmode, multi2, startpt2, endpt2, endpt1, startpt1, multi1, mintime,
        flocation, arbit, undersmon, cmbDevice, description, ModeSelect, fmdrange, amfactor,
        modtype, singlesw, steptime, stopfunit, startfunit, stepcnt, stopf, startf, ampgain, compon,
        tbsgaten, lowgain, atten, termination, invert, tcali, outmode, BiasMode, Vpp, Frek, Pulse,
        BiasUnit, VppUnit, frequnit, PauseUnit, PulseUnit, Pause, VBias;
    // Mode; frequency, amplitude and offset captions.
    Ctl Frame3, Label1, lfrek, lvpp, Label22;
    // Modulation.
    Ctl framemodulation, modsource, lamfactor, amfunit, lfmdrange, fmdrangeunit;
    // Sweep.
    Ctl frsweep, lstartf, lstopf, lstepcnt, lsteptime, steptimeunit;
    // Pulse and output mode.
    Ctl LPulse, lPausep, loutmode;
    // Arbitrary.
    Ctl frarb, larbit, loadfile, SelectFile1, lprofile1, lprofile2, lmultiplier, lsartpoint,
        lfinalpoint, lsamplet, samplet1, samplet2, lprofiletime, profilet1, profilet2, lmintime;
    // Output stage.
    Ctl fraCommands, Label5, Calibrate;
    // Status.
    Ctl Status, StatusBar, Label4, lmainclk, Label2, calibr_file;
    // Commands.
    Ctl RUN, STOP, RefreshBtn;
    // Menu.
    Ctl MenuBar_File, MenuBar_SaveCfg, MenuBar_LoadCfg, MenuBar_Help, MenuBar_UsersGuide,
        MenuBar_About;
};

}  // namespace tunx
