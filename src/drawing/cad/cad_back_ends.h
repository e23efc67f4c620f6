// The built-in back ends of the output devices, one per format file; the
// device table of cad_device.cpp names each here.
#pragma once

#include "drawing/cad/cad_device.h"

namespace drawing {

CadBackEnd& DxfFileBackEnd();   // dxf_writer.cpp, device 1
CadBackEnd& IgesBackEnd();      // iges_writer.cpp, device 2
CadBackEnd& PlotBackEnd();      // plot_utility.cpp, device 4
CadBackEnd& TextCadBackEnd();   // text_cad_writer.cpp, device 5
CadBackEnd& StlBackEnd();       // stl_writer.cpp, device 6
CadBackEnd& StepBackEnd();      // step_writer.cpp, device 7
CadBackEnd& ScreenBackEnd();    // screen_device.cpp, device 3

}  // namespace drawing
