#include "app/PanelLayout.h"

#include "generator/PanelTexts.h"

namespace tunx::app {

PanelLayout generatorPanelLayout() {
    using namespace group;
    PanelLayout layout;
    layout.columns = {
        {
            {kMode, {{{"ModeSelect", 3}}, {{"Label1", 3}}, {{"description", 3}}}},
            {kFrequency, {{{"lfrek"}, {"Frek"}, {"frequnit"}}}},
            {kAmplitude, {{{"lvpp"}, {"Vpp"}, {"VppUnit"}}}},
            {kOffset, {{{"Label22"}, {"VBias"}, {"BiasUnit"}}, {{""}, {"BiasMode", 2}}}},
            {kCommands, {{{"RUN"}, {"STOP"}, {"RefreshBtn"}}}},
        },
        {
            {kModulation,
             {{{"modsource"}, {"modtype", 2}},
              {{"lamfactor"}, {"amfactor"}, {"amfunit"}},
              {{"lfmdrange"}, {"fmdrange"}, {"fmdrangeunit"}}}},
            {kSweep,
             {{{"lstartf"}, {"startf"}, {"startfunit"}},
              {{"lstopf"}, {"stopf"}, {"stopfunit"}},
              {{"lstepcnt"}, {"stepcnt"}},
              {{"lsteptime"}, {"steptime"}, {"steptimeunit"}},
              {{"singlesw", 3}}}},
            {kPulse,
             {{{"LPulse"}, {"Pulse"}, {"PulseUnit"}},
              {{"lPausep"}, {"Pause"}, {"PauseUnit"}},
              {{"loutmode"}, {"outmode", 2}},
              {{"invert", 3}}}},
        },
        {
            {kArbitrary,
             {{{"larbit"}, {"arbit"}, {"arbmode"}},
              {{"loadfile", 3}},
              {{"flocation", 2}, {"SelectFile1"}},
              {{"enpr2", 3}},
              {{""}, {"lprofile1"}, {"lprofile2"}},
              {{"lmultiplier"}, {"multi1"}, {"multi2"}},
              {{"lsartpoint"}, {"startpt1"}, {"startpt2"}},
              {{"lfinalpoint"}, {"endpt1"}, {"endpt2"}},
              {{"lsamplet"}, {"samplet1"}, {"samplet2"}},
              {{"lprofiletime"}, {"profilet1"}, {"profilet2"}},
              {{"lmintime"}, {"mintimen"}, {"mintime"}}}},
            {kStatus,
             {{{"Status", 3}},
              {{"StatusBar", 3}},
              {{"Label4"}, {"lmainclk", 2}},
              {{"Label2"}, {"cmbDevice", 2}},
              {{"tcali", 3}},
              {{"calibr_file", 3}}},
             true},
        },
        {
            {kOutput,
             {{{"termination", 2}},
              {{"atten", 2}},
              {{"compon", 2}},
              {{"lowgain", 2}},
              {{"undersmon", 2}},
              {{"Label5"}, {"tbsgaten"}},
              {{""}, {"ampgain"}},
              {{"Calibrate", 2}}}},
        },
    };
    return layout;
}

}  // namespace tunx::app
