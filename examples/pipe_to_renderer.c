/* pipe_to_renderer.c: sends a scene straight into a renderer program,
 * with no file in between.
 *
 * A name that starts with "|" makes RiBegin start the rest of the name as a
 * shell command line and write the RIB to its standard input.  The default
 * command here is vellum's own checker, qview, which reads RIB the way a
 * renderer would and prints a summary on standard error; give any command
 * that reads RIB from its standard input instead.
 *
 *     cc -std=c99 pipe_to_renderer.c $(pkg-config --cflags --libs vellum) -o pipe_to_renderer
 *     ./pipe_to_renderer                     # into "qview --strict"
 *     ./pipe_to_renderer 'gzip > scene.rib.gz'
 */
#include <stdio.h>

#include <ri.h>

int main(int argc, char *argv[]) {
  char name[1024];
  RtPoint floor[4] = {{-3, 0, -3}, {-3, 0, 3}, {3, 0, 3}, {3, 0, -3}};
  RtPoint lightFrom = {2, 4, -2};
  RtFloat intensity = 0.8f;
  RtColor orange = {1, 0.5f, 0.1f};

  snprintf(name, sizeof name, "|%s", argc > 1 ? argv[1] : "qview --strict");
  /* The shell starts even when the command does not exist: the shell then
   * says so, and a write that finds the pipe closed prints, once,
   * "libvellum error: writing RIB to COMMAND failed: Broken pipe"; the
   * program goes on.  (The bare names "raylume", "qview" and "zbrend" start
   * that program from PATH without a shell; when it cannot be started,
   * RiBegin prints "Error opening pipe to NAME" and the program ends with
   * status 1.) */
  RiBegin(name);

  RiFormat(320, 240, 1);
  RiProjection(RI_PERSPECTIVE, RI_NULL);
  RiTranslate(0, -1, 6);
  RiRotate(-20, 1, 0, 0);
  RiWorldBegin();
  RiLightSource(RI_AMBIENTLIGHT, RI_INTENSITY, (RtPointer)&intensity, RI_NULL);
  RiLightSource(RI_DISTANTLIGHT, RI_FROM, (RtPointer)lightFrom, RI_NULL);
  RiAttributeBegin();
  RiSurface(RI_MATTE, RI_NULL);
  RiPolygon(4, RI_P, (RtPointer)floor, RI_NULL);
  RiAttributeEnd();
  RiAttributeBegin();
  RiColor(orange);
  RiSurface(RI_PLASTIC, RI_NULL);
  RiTranslate(0, 1, 0);
  RiSphere(1, -1, 1, 360, RI_NULL);
  RiAttributeEnd();
  /* RiWorldEnd flushes the output, so the renderer has the whole frame
   * while the program goes on. */
  RiWorldEnd();
  /* RiEnd closes the pipe and waits until the renderer has exited; its exit
   * status is not reported back. */
  RiEnd();
  return 0;
}
