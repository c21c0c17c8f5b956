// tradumar-cli: what the window does, for scripts and Makefiles, over the
// same model of the open project.
#include <iostream>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include "cli/cli_commands.h"

namespace {

// The library's own words for a wrong command line, in Spanish.
std::string spanishFailure(const CLI::App* app, const CLI::Error& e) {
    // The library's own detail is English: only its kind is said.
    std::string why = e.get_name();
    if (why == "RequiredError")
        why = "falta un argumento obligatorio";
    else if (why == "ExtrasError")
        why = "sobran argumentos";
    else if (why == "ArgumentMismatch")
        why = "número de argumentos incorrecto";
    else if (why == "ValidationError")
        why = "valor de opción no válido";
    else if (why == "RequiresError" || why == "ExcludesError")
        why = "combinación de opciones no válida";
    else
        why = "orden no válida";
    std::string name = app->get_name();
    for (const CLI::App* parent = app->get_parent(); parent != nullptr; parent = parent->get_parent())
        name = parent->get_name() + " " + name;
    return "Error de uso: " + why + ".\nUse «" + name + " --help» para ver la ayuda.\n";
}

void spanishHelp(CLI::App& app) {
    auto formatter = app.get_formatter();
    formatter->label("Usage", "Uso");
    formatter->label("OPTIONS", "OPCIONES");
    formatter->label("SUBCOMMAND", "SUBCOMANDO");
    formatter->label("SUBCOMMANDS", "SUBCOMANDOS");
    formatter->label("Positionals", "Argumentos");
    formatter->label("REQUIRED", "OBLIGATORIO");
    formatter->label("Needs", "Necesita");
    formatter->label("Excludes", "Excluye");
    formatter->label("Env", "Entorno");
    app.option_defaults()->group("Opciones");
    app.set_help_flag("-h,--help", "Muestra esta ayuda y termina");
    app.failure_message(spanishFailure);
}

} // namespace

int main(int argc, char** argv) {
    using namespace tradumar::cli;
    CLI::App app(
        "Tradumar desde la línea de órdenes: la extracción de los scripts, el estado de la traducción, "
        "su comprobación, la inserción en la ROM (con la reubicación por punteros), deshacerla y el "
        "parche, con el mismo código que la ventana.",
        "tradumar-cli");
    spanishHelp(app);
    app.set_version_flag("--version", "tradumar-cli 1.0", "Muestra la versión y termina");
    app.require_subcommand(1);

    std::string project, output, original;
    bool tsv = false;
    InsertOptions insertOptions;
    ExtractOptions extractOptions;
    std::vector<std::string> scripts, ranges, confirm;
    std::string script, filler;
    const auto subcommand = [&](const char* name, const char* description) {
        CLI::App* sub = app.add_subcommand(name, description);
        sub->group("Subcomandos");
        spanishHelp(*sub);
        sub->add_option("PROYECTO", project, "El archivo de proyecto (.tpr)")
            ->required()
            ->type_name("ARCHIVO");
        return sub;
    };
    CLI::App* estado = subcommand("estado", "Cada script con su dirección, su tamaño, los bytes reales de su "
                                            "traducción y su estado, y el resumen de la barra de estado");
    estado->add_flag("--tsv", tsv, "Columnas separadas por tabuladores, con una línea de títulos");
    CLI::App* comprobar =
        subcommand("comprobar", "Todo lo que impide escribir los bytes correctos; termina con 1 "
                                "si encuentra algo");
    CLI::App* insertar = subcommand("insertar", "Inserta las traducciones guardadas (o solo los scripts "
                                                "indicados) como un solo paso que se puede deshacer");
    insertar->add_flag("--excedidos", insertOptions.overBudget, "Inserta también los que exceden su tamaño");
    insertar->add_flag(
        "--reubicar", insertOptions.relocate,
        "Lleva al espacio libre los que exceden su tamaño y tienen punteros, y reescribe sus punteros");
    insertar->add_option("SCRIPT", scripts, "Solo estos scripts (nombres de archivo)")->type_name("SCRIPT");
    CLI::App* extraer =
        subcommand("extraer", "Extrae los scripts de la ROM con la tabla original, por una tabla "
                              "de punteros o por rangos, sin sobrescribir ningún archivo");
    extraer
        ->add_option("--punteros", extractOptions.table, "La tabla de punteros: su dirección y cuántos tiene")
        ->type_name("DIRECCIÓN:CUENTA");
    extraer->add_option("--tamano", extractOptions.size, "Bytes de cada puntero (por omisión, 2)")
        ->check(CLI::IsMember({2, 3, 4}).description(""))
        ->type_name("2|3|4");
    extraer->add_option("--orden", extractOptions.order, "Orden de los bytes (por omisión, le)")
        ->check(CLI::IsMember({"le", "be"}).description(""))
        ->type_name("le|be");
    extraer->add_option("--mapa", extractOptions.map, "Del valor del puntero a la dirección en el archivo")
        ->check(CLI::IsMember({"lineal", "lorom", "hirom"}).description(""))
        ->type_name("lineal|lorom|hirom");
    extraer
        ->add_option("--desplazamiento", extractOptions.displacement, "Se suma al valor (puede ser negativo)")
        ->type_name("N");
    extraer->add_option("--cabecera", extractOptions.header, "Cabecera de copiadora delante de la ROM")
        ->check(CLI::IsMember({0, 512}).description(""))
        ->type_name("0|512");
    extraer
        ->add_option("--paso", extractOptions.step,
                     "Bytes de un puntero al siguiente (por omisión, su tamaño)")
        ->type_name("N");
    extraer
        ->add_option("--rango", extractOptions.ranges,
                     "Un rango que se corta en scripts en cada código de fin")
        ->type_name("INICIO-FIN")
        ->allow_extra_args(false);
    extraer->footer("Los números van en hexadecimal con 0x delante, o en decimal.");
    CLI::App* verificar =
        subcommand("verificar", "Si la ROM tiene cada traducción guardada: insertada, pendiente "
                                "o no se puede insertar; termina con 1 si alguna no está insertada");
    CLI::App* libre =
        subcommand("libre", "Declara el espacio libre de la ROM y el byte de relleno, o los muestra "
                            "con lo que queda libre");
    libre->add_option("RANGO", ranges, "Rangos libres en hexadecimal; sustituyen a los declarados")
        ->type_name("INICIO-FIN");
    libre->add_option("--relleno", filler, "El byte que llena el lugar que deja un script reubicado")
        ->type_name("XX");
    CLI::App* punteros = subcommand("punteros", "Los candidatos a puntero de un script, con los bytes de "
                                                "alrededor, y los confirmados");
    punteros->add_option("SCRIPT", script, "El script (nombre de archivo)")->required()->type_name("SCRIPT");
    punteros->add_option("--confirmar", confirm, "Guarda estos candidatos como punteros del script")
        ->type_name("OFFSET");
    CLI::App* deshacer = subcommand("deshacer", "Deshace la última inserción");
    CLI::App* parche =
        subcommand("parche", "Crea un parche BPS o IPS de la ROM sin traducir a la ROM actual");
    parche->add_option("SALIDA", output, "El parche que se escribe (.bps o .ips)")
        ->required()
        ->type_name("ARCHIVO");
    parche->add_option("--original", original, "La ROM sin traducir (por omisión, <ROM>.original)")
        ->type_name("ROM");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e, std::cout, std::cerr);
        return kUsage;
    }

    const Streams io{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};
    if (estado->parsed())
        return status(project, tsv, io);
    if (comprobar->parsed())
        return check(project, io);
    if (insertar->parsed())
        return insert(project, insertOptions, scripts, io);
    if (extraer->parsed())
        return extract(project, extractOptions, io);
    if (verificar->parsed())
        return verify(project, io);
    if (libre->parsed())
        return freeSpaceCommand(project, ranges, filler, io);
    if (punteros->parsed())
        return pointers(project, script, confirm, io);
    if (deshacer->parsed())
        return undo(project, io);
    if (parche->parsed())
        return patch(project, output, original, io);
    return kUsage;
}
