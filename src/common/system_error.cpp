#include "common/system_error.h"

#include <cerrno>

namespace tradumar {

std::string systemErrorText(int error) {
    // The texts are Windows-1252: \xF3 is "ó", \xE1 "á", \355 "í".
    switch (error) {
    case EPERM:
        return "Operaci\xF3n no permitida";
    case ENOENT:
        return "No existe el archivo o la carpeta";
    case EIO:
        return "Error de lectura o escritura en el disco";
    case ENXIO:
    case ENODEV:
        return "No existe el dispositivo";
    case EBADF:
        return "Archivo no v\xE1lido";
    case EAGAIN:
        return "Recurso no disponible por ahora";
    case ENOMEM:
        return "Memoria insuficiente";
    case EACCES:
        return "Permiso denegado";
    case EBUSY:
        return "El archivo o el dispositivo est\xE1 ocupado";
    case EEXIST:
        return "El archivo ya existe";
    case EXDEV:
        return "No se puede mover entre discos distintos";
    case ENOTDIR:
        return "Una parte de la ruta no es una carpeta";
    case EISDIR:
        return "Es una carpeta";
    case EINVAL:
        return "Argumento no v\xE1lido";
    case ENFILE:
    case EMFILE:
        return "Demasiados archivos abiertos";
    case ETXTBSY:
        return "El archivo est\xE1 en uso";
    case EFBIG:
        return "Archivo demasiado grande";
    case ENOSPC:
        return "Disco lleno";
    case EROFS:
        return "El disco es de solo lectura";
    case EMLINK:
        return "Demasiados enlaces";
    case ENAMETOOLONG:
        return "Nombre de archivo demasiado largo";
    case ENOTEMPTY:
        return "La carpeta no est\xE1 vac\355a"; // an octal escape ends after three digits
    case ELOOP:
        return "Demasiados enlaces simb\xF3licos en la ruta";
    case EOVERFLOW:
        return "Valor demasiado grande";
    case EDQUOT:
        return "Cuota de disco agotada";
    case EINTR:
        return "Operaci\xF3n interrumpida";
    case ESTALE:
        return "El archivo de red ya no est\xE1 disponible";
    default:
        return "Error del sistema";
    }
}

} // namespace tradumar
