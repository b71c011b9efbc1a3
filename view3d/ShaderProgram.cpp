#include "ShaderProgram.h"

#include "RendererError.h"

#include <QFile>

#include <optional>
#include <string>

namespace pw {

namespace {

// The driver's log of a shader or program that failed, in its own words; nothing where `ok`.
template <class GetLog>
std::optional<std::string> failure(int ok, GetLog getLog)
{
    if (ok)
        return std::nullopt;
    char log[512] = {};
    getLog(static_cast<int>(sizeof log - 1), log);
    return QString::fromLatin1(log).trimmed().toStdString();
}

Result<unsigned> compileShader(QOpenGLExtraFunctions& gl, unsigned kind, const char* name)
{
    QFile file(QStringLiteral(":/view3d/shaders/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return CoreError(RendererError::ShaderMissing, name);
    const QByteArray source = file.readAll();
    const char* text = source.constData();
    const unsigned shader = gl.glCreateShader(kind);
    gl.glShaderSource(shader, 1, &text, nullptr);
    gl.glCompileShader(shader);
    int ok = 0;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    std::optional<std::string> log = failure(ok, [&](int capacity, char* out) {
        gl.glGetShaderInfoLog(shader, capacity, nullptr, out);
    });
    if (!log)
        return shader;
    gl.glDeleteShader(shader);
    return CoreError(RendererError::ShaderNotCompiled, name, {}, {}, 0, std::move(*log));
}

}  // namespace

Result<unsigned> buildProgram(QOpenGLExtraFunctions& gl, const char* vertexShader,
                              const char* fragmentShader)
{
    const Result<unsigned> vertex = compileShader(gl, GL_VERTEX_SHADER, vertexShader);
    if (!vertex)
        return vertex.error();
    const Result<unsigned> fragment = compileShader(gl, GL_FRAGMENT_SHADER, fragmentShader);
    if (!fragment) {
        gl.glDeleteShader(*vertex);
        return fragment.error();
    }
    const unsigned program = gl.glCreateProgram();
    gl.glAttachShader(program, *vertex);
    gl.glAttachShader(program, *fragment);
    gl.glLinkProgram(program);
    gl.glDeleteShader(*vertex);
    gl.glDeleteShader(*fragment);
    int ok = 0;
    gl.glGetProgramiv(program, GL_LINK_STATUS, &ok);
    std::optional<std::string> log = failure(ok, [&](int capacity, char* out) {
        gl.glGetProgramInfoLog(program, capacity, nullptr, out);
    });
    if (!log)
        return program;
    gl.glDeleteProgram(program);
    return CoreError(RendererError::ShadersNotLinked, vertexShader, {}, fragmentShader, 0,
                     std::move(*log));
}

}  // namespace pw
