// A plain transcription of the published LZHUF decoding scheme: 16-bit bit
// buffer refilled one byte at a time, one output byte per call, tables as
// globals of one object. It serves as the speed baseline of the benchmarks
// and as the independent reference of the decoder tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace reference_lzhuf {

class Decoder {
public:
  static constexpr int N = 4096, F = 60, THRESHOLD = 2;
  static constexpr int N_CHAR = 256 - THRESHOLD + F;
  static constexpr int T = N_CHAR * 2 - 1, R = T - 1;
  static constexpr unsigned MAX_FREQ = 0x8000;

  Decoder() {
    int pos = 0, code = 0;
    const int codeRuns[][2] = {{1, 32}, {3, 16}, {8, 8}, {12, 4}, {24, 2}, {16, 1}};
    for (auto& run : codeRuns)
      for (int c = 0; c < run[0]; ++c, ++code)
        for (int k = 0; k < run[1]; ++k) d_code[pos++] = (unsigned char)code;
    pos = 0;
    const int lenRuns[][2] = {{3, 32}, {4, 48}, {5, 64}, {6, 48}, {7, 48}, {8, 16}};
    for (auto& run : lenRuns)
      for (int k = 0; k < run[1]; ++k) d_len[pos++] = (unsigned char)run[0];
  }

  // Decodes the stored stream (size field first) and returns its output.
  std::vector<uint8_t> Run(const uint8_t* data, size_t size) {
    in = data;
    inSize = size;
    inPos = 0;
    out.clear();
    unsigned long textsize = 0;
    for (int i = 0; i < 4; ++i) textsize |= (unsigned long)getc() << (8 * i);
    if (textsize == 0) return out;
    out.reserve(textsize + F);
    getbuf = 0;
    getlen = 0;
    StartHuff();
    for (int i = 0; i < N - F; i++) text_buf[i] = ' ';
    for (int i = N - F; i < N + F - 1; i++) text_buf[i] = 0;
    int r = N - F;
    for (unsigned long count = 0; count < textsize;) {
      int c = DecodeChar();
      if (c < 256) {
        putc(c);
        text_buf[r++] = (unsigned char)c;
        r &= (N - 1);
        count++;
      } else {
        int i = (r - DecodePosition() - 1) & (N - 1);
        int j = c - 255 + THRESHOLD;
        for (int k = 0; k < j; k++) {
          c = text_buf[(i + k) & (N - 1)];
          putc(c);
          text_buf[r++] = (unsigned char)c;
          r &= (N - 1);
          count++;
        }
      }
    }
    return out;
  }

  size_t BytesRead() const { return inPos; }

private:
  int getc() { return inPos < inSize ? in[inPos++] : -1; }
  void putc(int c) { out.push_back((uint8_t)c); }

  int GetBit() {
    int i;
    while (getlen <= 8) {
      if ((i = getc()) < 0) i = 0;
      getbuf |= (unsigned)i << (8 - getlen);
      getlen += 8;
    }
    i = (int)getbuf;
    getbuf = (getbuf << 1) & 0xFFFF;
    getlen--;
    return (i >> 15) & 1;  // top bit of the 16-bit buffer
  }

  int GetByte() {
    unsigned i;
    while (getlen <= 8) {
      int c = getc();
      if (c < 0) c = 0;
      getbuf |= (unsigned)c << (8 - getlen);
      getlen += 8;
    }
    i = getbuf;
    getbuf = (getbuf << 8) & 0xFFFF;
    getlen -= 8;
    return (int)(i >> 8);
  }

  void StartHuff() {
    int i, j;
    for (i = 0; i < N_CHAR; i++) {
      freq[i] = 1;
      son[i] = i + T;
      prnt[i + T] = i;
    }
    i = 0;
    j = N_CHAR;
    while (j <= R) {
      freq[j] = freq[i] + freq[i + 1];
      son[j] = i;
      prnt[i] = prnt[i + 1] = j;
      i += 2;
      j++;
    }
    freq[T] = 0xffff;
    prnt[R] = 0;
  }

  void reconst() {
    int i, j, k;
    unsigned f, l;
    j = 0;
    for (i = 0; i < T; i++) {
      if (son[i] >= T) {
        freq[j] = (freq[i] + 1) / 2;
        son[j] = son[i];
        j++;
      }
    }
    for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
      k = i + 1;
      f = freq[j] = freq[i] + freq[k];
      for (k = j - 1; f < freq[k]; k--);
      k++;
      l = (j - k) * 2;
      memmove(&freq[k + 1], &freq[k], l);
      freq[k] = f;
      memmove(&son[k + 1], &son[k], l);
      son[k] = i;
    }
    for (i = 0; i < T; i++) {
      if ((k = son[i]) >= T) {
        prnt[k] = i;
      } else {
        prnt[k] = prnt[k + 1] = i;
      }
    }
  }

  void update(int c) {
    int i, j, k, l;
    if (freq[R] == MAX_FREQ) reconst();
    c = prnt[c + T];
    do {
      k = ++freq[c];
      if ((unsigned)k > freq[l = c + 1]) {
        while ((unsigned)k > freq[++l]);
        l--;
        freq[c] = freq[l];
        freq[l] = k;
        i = son[c];
        prnt[i] = l;
        if (i < T) prnt[i + 1] = l;
        j = son[l];
        son[l] = i;
        prnt[j] = c;
        if (j < T) prnt[j + 1] = c;
        son[c] = j;
        c = l;
      }
    } while ((c = prnt[c]) != 0);
  }

  int DecodeChar() {
    unsigned c = son[R];
    while (c < T) {
      c += GetBit();
      c = son[c];
    }
    c -= T;
    update(c);
    return (int)c;
  }

  int DecodePosition() {
    unsigned i, j, c;
    i = GetByte();
    c = (unsigned)d_code[i] << 6;
    j = d_len[i];
    j -= 2;
    while (j--) i = (i << 1) + GetBit();
    return (int)(c | (i & 0x3f));
  }

  const uint8_t* in = nullptr;
  size_t inSize = 0, inPos = 0;
  std::vector<uint8_t> out;
  unsigned getbuf = 0;  // 16 valid bits
  unsigned char getlen = 0;
  unsigned char text_buf[N + F - 1];
  unsigned short freq[T + 1];
  short prnt[T + N_CHAR];
  short son[T];
  unsigned char d_code[256], d_len[256];
};

}  // namespace reference_lzhuf
