#include "common/system_error.h"

#include <cerrno>

namespace tradumar {

std::string systemErrorText(int error) {
    switch (error) {
    case EPERM:
        return "Operación no permitida";
    case ENOENT:
        return "No existe el archivo o la carpeta";
    case EIO:
        return "Error de lectura o escritura en el disco";
    case ENXIO:
    case ENODEV:
        return "No existe el dispositivo";
    case EBADF:
        return "Archivo no válido";
    case EAGAIN:
        return "Recurso no disponible por ahora";
    case ENOMEM:
        return "Memoria insuficiente";
    case EACCES:
        return "Permiso denegado";
    case EBUSY:
        return "El archivo o el dispositivo está ocupado";
    case EEXIST:
        return "El archivo ya existe";
    case EXDEV:
        return "No se puede mover entre discos distintos";
    case ENOTDIR:
        return "Una parte de la ruta no es una carpeta";
    case EISDIR:
        return "Es una carpeta";
    case EINVAL:
        return "Argumento no válido";
    case EILSEQ:
        return "El archivo no está en UTF-8 ni en la codificación del proyecto";
    case ENFILE:
    case EMFILE:
        return "Demasiados archivos abiertos";
    case ETXTBSY:
        return "El archivo está en uso";
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
        return "La carpeta no está vacía";
    case ELOOP:
        return "Demasiados enlaces simbólicos en la ruta";
    case EOVERFLOW:
        return "Valor demasiado grande";
    case EDQUOT:
        return "Cuota de disco agotada";
    case EINTR:
        return "Operación interrumpida";
    case ESTALE:
        return "El archivo de red ya no está disponible";
    default:
        return "Error del sistema";
    }
}

} // namespace tradumar
