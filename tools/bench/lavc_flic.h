/* libavcodec's FLIC decoder called directly, as the yardstick of KORVAL's
   decoder: a file's packets are read into memory first, then only the
   decoding is timed. */
#ifndef KORVAL_LAVC_FLIC_H
#define KORVAL_LAVC_FLIC_H

#ifdef __cplusplus
extern "C" {
#endif

struct LavcFlic;

/* Up to the file's first `frames` packets in memory (the demuxer hands the
   ring frame on as one more, and drops a last frame cut short) and a decoder
   opened for them (one thread); NULL when libavformat or libavcodec refuses. */
struct LavcFlic* LavcFlicOpen(const char* path, int frames);
/* The packets held: the frames of one loop. */
int LavcFlicFrames(const struct LavcFlic* flic);
/* Every packet decoded `loops` times (the decoder flushed before each loop);
   the frames received, or -1 on an error. */
long LavcFlicDecode(struct LavcFlic* flic, int loops);
void LavcFlicClose(struct LavcFlic* flic);

#ifdef __cplusplus
}
#endif

#endif
