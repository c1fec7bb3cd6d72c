/* libavcodec's FLIC decoder over packets held in memory (lavc_flic.h). */
#include "lavc_flic.h"

#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>

#include <stdlib.h>

struct LavcFlic {
    AVCodecContext* codec;
    AVPacket** packets;
    int count;
    AVFrame* frame;
};

void LavcFlicClose(struct LavcFlic* flic)
{
    if (!flic)
        return;
    for (int i = 0; i < flic->count; ++i)
        av_packet_free(&flic->packets[i]);
    free(flic->packets);
    av_frame_free(&flic->frame);
    avcodec_free_context(&flic->codec);
    free(flic);
}

struct LavcFlic* LavcFlicOpen(const char* path, int frames)
{
    struct LavcFlic* flic = calloc(1, sizeof *flic);
    AVFormatContext* format = NULL;
    if (!flic || frames <= 0 || avformat_open_input(&format, path, NULL, NULL) < 0) {
        free(flic);
        return NULL;
    }
    int ok = avformat_find_stream_info(format, NULL) >= 0;
    int stream = ok ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, NULL, 0) : -1;
    const AVCodec* decoder = stream >= 0 ? avcodec_find_decoder(format->streams[stream]->codecpar->codec_id) : NULL;
    flic->packets = calloc((size_t)frames, sizeof *flic->packets);
    flic->frame = av_frame_alloc();
    flic->codec = decoder ? avcodec_alloc_context3(decoder) : NULL;
    ok = flic->packets && flic->frame && flic->codec
      && avcodec_parameters_to_context(flic->codec, format->streams[stream]->codecpar) >= 0;
    if (ok) {
        flic->codec->thread_count = 1;
        ok = avcodec_open2(flic->codec, decoder, NULL) >= 0;
    }
    AVPacket* packet = av_packet_alloc();
    while (ok && packet && flic->count < frames && av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == stream)
            flic->packets[flic->count++] = av_packet_clone(packet);
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    if (!ok || flic->count == 0) {
        LavcFlicClose(flic);
        return NULL;
    }
    return flic;
}

int LavcFlicFrames(const struct LavcFlic* flic)
{
    return flic->count;
}

long LavcFlicDecode(struct LavcFlic* flic, int loops)
{
    long frames = 0;
    for (int loop = 0; loop < loops; ++loop) {
        avcodec_flush_buffers(flic->codec);
        for (int i = 0; i < flic->count; ++i) {
            if (avcodec_send_packet(flic->codec, flic->packets[i]) < 0)
                return -1;
            while (avcodec_receive_frame(flic->codec, flic->frame) >= 0) {
                ++frames;
                av_frame_unref(flic->frame);
            }
        }
    }
    return frames;
}
