#pragma once

#include <QByteArray>

// How the virtual radio misbehaves, when asked to. Every fault is off by
// default; times are in milliseconds, frame numbers count from 0 within one
// transfer, and -1 switches a numbered fault off.
struct RadioFaults {
    bool silent = false;           // hears everything, answers nothing
    bool wrongPingAnswer = false;  // answers the ping with bytes that are no ping answer
    bool echoPing = false;         // answers the ping by repeating it
    bool noIdentifyAnswer = false; // answers the ping, not the identify request
    int pauseFrame = -1;           // this frame of a read is sent in two parts,
    int pauseOffset = 5;           //   split in front of this byte,
    int pauseTime = 0;             //   with this pause between them
    int oneByteFrame = -1;         // this frame of a read is sent as its first byte only
    bool nakEveryFrame = false;    // refuses every frame of a write with 15
    int nakFrame = -1;             // refuses this frame of a write with 15
    bool noAcknowledge = false;    // takes the frames of a write without a word
    int unansweredFrame = -1;      // neither answers nor stores this frame of a write
    int answerDelay = 0;           // waits this long before each answer
    int stopAfterFrames = -1;      // goes dead within a transfer after this many frames
    int unplugAfterBytes = -1;     // closes its terminal once it has heard this many bytes
    int unplugAfterFrames = -1;    // closes its terminal after this many frames of a transfer
                                   //   (of a read: once the host acknowledged them)
    bool strayByteAfterTransfer = false; // a byte of line noise 100 ms after each read or write ends
    int strayByteBeforeFrame = -1; // a byte of line noise right in front of this frame of a read
    int corruptChannel = -1;       // a write stores this channel with its kilohertz step one higher
    bool garbage = false;          // answers ping and identify with random bytes and pauses
    quint32 garbageSeed = 0;
    bool pace = false;             // each byte takes its time on a 9600-baud wire
};

struct RadioSettings {
    int model = 0;         // index into RadioModels::all: 0 VKR627A, 1 VKR627S, 2 VKR627-II, 3 VKR627
    QByteArray modelText;  // the answer to the identify request; empty: the model's own text
    RadioFaults faults;
};

// The text a radio of the model sends back to the identify request.
QByteArray defaultModelText(int model);

// A model text that names no model of the series.
constexpr char unknownModelText[] = "HX-100 V1.0";
