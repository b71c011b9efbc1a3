#include "ShaderProgram.h"

#include "RendererError.h"

#include <QFile>

#include <optional>
#include <string>

namespace pw {

namespace {

using GetStatus = void (QOpenGLExtraFunctions::*)(GLuint, GLenum, GLint*);
using GetLog = void (QOpenGLExtraFunctions::*)(GLuint, GLsizei, GLsizei*, char*);
using Delete = void (QOpenGLExtraFunctions::*)(GLuint);

// Nothing where the shader or program `object` says `status` went well; else the driver's log
// of it in its own words, and the object deleted.
std::optional<std::string> failure(QOpenGLExtraFunctions& gl, unsigned object, GLenum status,
                                   GetStatus getStatus, GetLog getLog, Delete remove)
{
    int ok = 0;
    (gl.*getStatus)(object, status, &ok);
    if (ok)
        return std::nullopt;
    char log[512] = {};
    (gl.*getLog)(object, static_cast<GLsizei>(sizeof log - 1), nullptr, log);
    (gl.*remove)(object);
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
    if (std::optional<std::string> log = failure(
            gl, shader, GL_COMPILE_STATUS, &QOpenGLExtraFunctions::glGetShaderiv,
            &QOpenGLExtraFunctions::glGetShaderInfoLog, &QOpenGLExtraFunctions::glDeleteShader))
        return CoreError(RendererError::ShaderNotCompiled, name, {}, {}, 0, std::move(*log));
    return shader;
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
    if (std::optional<std::string> log = failure(
            gl, program, GL_LINK_STATUS, &QOpenGLExtraFunctions::glGetProgramiv,
            &QOpenGLExtraFunctions::glGetProgramInfoLog, &QOpenGLExtraFunctions::glDeleteProgram))
        return CoreError(RendererError::ShadersNotLinked, vertexShader, {}, fragmentShader, 0,
                         std::move(*log));
    return program;
}

}  // namespace pw
