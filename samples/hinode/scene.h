// A sunrise over the sea, painted into 32-bit 0x00RRGGBB pixel buffers
// (top-down rows, no padding, as a 32-bit DIB section lays them out).
//
// Sky, sea and clouds change slowly, so they go into a background buffer that
// the caller repaints only now and then. The sun and the small lights move
// every frame: they are drawn onto a copy of the background, and each one
// records the rectangle it touched, so a frame only restores and repaints those.
#pragma once

#include <stdint.h>

struct DirtyRect {
    int left, top, right, bottom;
};

class Scene {
public:
    Scene();

    // Places the horizon and sizes everything for a new buffer size.
    void Resize(int width, int height);

    // Moves the day along: ms is the time since the saver started.
    void SetTime(uint32_t ms);

    // Lets the glints and motes live dt seconds further.
    void Advance(float dt);

    // Sky, sea, stars and clouds for the current time, into a whole buffer.
    void PaintBackground(uint32_t* bg) const;

    // Copies back from the background what the last PaintSprites covered.
    void RestoreSprites(uint32_t* frame, const uint32_t* bg) const;

    // Draws the sun, glints and motes and remembers where (see Dirty()).
    void PaintSprites(uint32_t* frame);

    int DirtyCount() const { return dirtyCount_; }
    const DirtyRect* Dirty() const { return dirty_; }

private:
    struct Color {
        float r, g, b;
    };
    struct Light {  // the look of the scene for one sun elevation
        float elevation;
        Color zenith, horizon, glow;
        float glowAmount;
        Color sun;
        float pathAmount;  // brightness of the sun's reflection on the sea
        Color cloud;
        float stars;
        float motes;
    };
    struct Glint {  // a short flash on the water under the sun
        float x, y, length, age, life;
    };
    struct Mote {  // a faint speck of light drifting upwards
        float x, y, speed, radius, phase, age, life, brightness;
    };
    enum { kMaxGlints = 64, kMaxMotes = 32, kMaxDirty = 1 + kMaxGlints + kMaxMotes };

    static Light LightAt(float elevation);
    float Random();  // uniform in [0, 1)
    float PathHalfWidth(float depth) const;
    void SpawnGlint(Glint& g);
    void SpawnMote(Mote& m, bool anywhere);
    void PaintSky(uint32_t* bg) const;
    void PaintSea(uint32_t* bg) const;
    void PaintStars(uint32_t* bg) const;
    void PaintClouds(uint32_t* bg) const;
    bool AddDirty(int left, int top, int right, int bottom, DirtyRect& out) const;
    void PaintSun(uint32_t* frame);
    void PaintGlint(uint32_t* frame, const Glint& g);
    void PaintMote(uint32_t* frame, const Mote& m);

    int width_, height_, horizon_;
    uint32_t seed_;
    uint32_t ms_;    // as last given to SetTime
    float seconds_;  // the same in seconds, for slow drifts
    float sunX_, sunY_, sunRadius_;
    Light light_;
    Glint glints_[kMaxGlints];
    Mote motes_[kMaxMotes];
    int glintCount_, moteCount_;
    DirtyRect dirty_[kMaxDirty];
    int dirtyCount_;
};
