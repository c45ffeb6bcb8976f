#pragma once
// GLSL programs built from the executable's `Shaders` resources. Render thread only, with an
// OpenGL 2.0 context current. Shader and program objects are never deleted: they go with the
// rendering context.

#include <cstdint>

// One shader text held for the compiler: a single pointer into the resource data (not copied).
class ShaderSource {
public:
    ShaderSource() = default;
    ~ShaderSource() { Release(); }
    ShaderSource(const ShaderSource&) = delete;
    ShaderSource& operator=(const ShaderSource&) = delete;

    // Finds `Shaders` resource `id` and points the text at it. A resource whose last byte is not
    // the terminating NUL is refused: the text is handed over without a length.
    void Load(int id);
    bool IsLoaded() const { return state_ != -1; }
    // The one string and the count to pass to the compiler (1 once loaded).
    const char* const* Texts() const { return texts_; }
    int32_t Count() const { return state_; }
    void Release();

private:
    const char** texts_ = nullptr;
    int32_t state_ = -1;
};

// Compiles the vertex and fragment shaders of the two resource ids (0: no shader of that stage),
// links them and stores the program in `program`. 0 on success; 1 on failure, leaving `program`
// unchanged. Writes its progress records; a failure has none of its own.
int CreateOGLProgram(uint16_t vertexId, uint16_t fragmentId, uint32_t& program);
