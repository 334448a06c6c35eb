// The native window is not part of this build yet: until it is, its session
// runs through the scripted view on standard input and output.
#include "platform/native_session.h"

#include <iostream>

#include "platform/script/script_view.h"

void RunNativeSession(TImageDecoder* decoder) { RunScriptedSession(std::cin, std::cout, decoder); }
