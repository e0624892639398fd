#pragma once
// The built-in clips, placed in read-only data by clips_data.S.
#include "base/byte_blob.h"

extern "C" {
extern const ByteBlob kClipButton01;
extern const ByteBlob kClipButton02;
extern const ByteBlob kClipButton03;
extern const ByteBlob kClipButton04;
extern const ByteBlob kClipButton05;
extern const ByteBlob kClipButton07;
extern const ByteBlob kClipButton08;
extern const ByteBlob kClipButton09;
extern const ByteBlob kClipButton10;
extern const ByteBlob kClipButton11;
extern const ByteBlob kClipButton12;
extern const ByteBlob kClipButton13;
extern const ByteBlob kClipButton14;
extern const ByteBlob kClipButton15;
extern const ByteBlob kClipButton16;
extern const ByteBlob kClipButton17;
extern const ByteBlob kClipButton18;
extern const ByteBlob kClipButton19;
extern const ByteBlob kClipButton20;
extern const ByteBlob kClipButton21;
extern const ByteBlob kClipButton22;
extern const ByteBlob kClipButton23;
extern const ByteBlob kClipButton24;
extern const ByteBlob kClipButton25;
extern const ByteBlob kClipButton26;
extern const ByteBlob kClipButton27;
extern const ByteBlob kClipButton28;
extern const ByteBlob kClipButton29;
extern const ByteBlob kClipButton30;
extern const ByteBlob kClipButton31;
extern const ByteBlob kClipButton32;
extern const ByteBlob kClipButton33;
extern const ByteBlob kClipButton34;
extern const ByteBlob kClipButton35;
extern const ByteBlob kClipButton36;
extern const ByteBlob kClipButton37;
extern const ByteBlob kClipButton38;
extern const ByteBlob kClipButton39;
extern const ByteBlob kClipButton40;
extern const ByteBlob kClipButton41;
extern const ByteBlob kClipButton42;
extern const ByteBlob kClipButton43;
extern const ByteBlob kClipButton44;
extern const ByteBlob kClipButton45;
extern const ByteBlob kClipStartup;
}
