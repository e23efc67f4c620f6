// The built-in back ends of the output devices, one per format file; the
// device table of cad_device.cpp names each here.
#pragma once

#include "drawing/cad_device.h"

namespace drawing {

CadBackEnd& DxfFileBackEnd();   // dxf_writer.cpp, device 1
CadBackEnd& TextCadBackEnd();   // text_cad_writer.cpp, device 5
CadBackEnd& StepBackEnd();      // step_writer.cpp, device 7
CadBackEnd& ScreenBackEnd();    // screen_device.cpp, device 3

}  // namespace drawing
