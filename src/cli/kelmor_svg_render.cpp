// kelmor-svg-render: draws the SVG documents the programs send it on its standard input, under
// its limits, into the memory they share with it, and answers on its standard output
// (imaging/svg_render_protocol.h). Not meant to be run by hand.
#include "imaging/svg_render_protocol.h"
#include "imaging/svg_render_service.h"

#include <unistd.h>

int main() {
    kelmor::svgrender::applyRendererLimits();
    return kelmor::svgrender::serveRequests(STDIN_FILENO, STDOUT_FILENO,
                                            kelmor::svgrender::kPixelsDescriptor);
}
