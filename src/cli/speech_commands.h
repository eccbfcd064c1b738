#pragma once

// vantrel-cli speak --voice N --out FILE.wav [--pitch P] [--speed S] [--volume PERCENT] TEXT...
// Speaks TEXT with voice N (its index in the list of installed voices) into a wave file and
// prints {"spoken": true, "file": F, "voice": NAME, "sampleRate": R, "samples": N, "seconds": S},
// or {"spoken": false, "errors": [TEXT]} when the speech component refuses.
int RunSpeakCommand(int argc, char** argv);

// vantrel-cli voices
// Prints {"voices": [{"index": I, "name": NAME, "language": L}, ...]} in the order that the
// checklist file's "voice" number counts.
int RunVoicesCommand(int argc, char** argv);
