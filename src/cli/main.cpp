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
    CLI::App app("Tradumar desde la línea de órdenes: el estado de la traducción, su comprobación, la "
                 "inserción en la ROM, deshacerla y el parche, con el mismo código que la ventana.",
                 "tradumar-cli");
    spanishHelp(app);
    app.set_version_flag("--version", "tradumar-cli 1.0", "Muestra la versión y termina");
    app.require_subcommand(1);

    std::string project, output, original;
    bool tsv = false, overBudget = false;
    std::vector<std::string> scripts;
    const auto subcommand = [&](const char* name, const char* description) {
        CLI::App* sub = app.add_subcommand(name, description);
        sub->group("Subcomandos");
        spanishHelp(*sub);
        sub->add_option("PROYECTO", project, "El archivo de proyecto (.tpr)")->required()->type_name("ARCHIVO");
        return sub;
    };
    CLI::App* estado = subcommand("estado", "Cada script con su dirección, su tamaño, los bytes reales de su "
                                            "traducción y su estado, y el resumen de la barra de estado");
    estado->add_flag("--tsv", tsv, "Columnas separadas por tabuladores, con una línea de títulos");
    CLI::App* comprobar = subcommand("comprobar", "Todo lo que impide escribir los bytes correctos; termina con 1 "
                                                  "si encuentra algo");
    CLI::App* insertar = subcommand("insertar", "Inserta las traducciones guardadas (o solo los scripts "
                                                "indicados) como un solo paso que se puede deshacer");
    insertar->add_flag("--excedidos", overBudget, "Inserta también los que exceden su tamaño");
    insertar->add_option("SCRIPT", scripts, "Solo estos scripts (nombres de archivo)")->type_name("SCRIPT");
    CLI::App* deshacer = subcommand("deshacer", "Deshace la última inserción");
    CLI::App* parche = subcommand("parche", "Crea un parche BPS o IPS de la ROM sin traducir a la ROM actual");
    parche->add_option("SALIDA", output, "El parche que se escribe (.bps o .ips)")->required()->type_name("ARCHIVO");
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
        return insert(project, overBudget, scripts, io);
    if (deshacer->parsed())
        return undo(project, io);
    if (parche->parsed())
        return patch(project, output, original, io);
    return kUsage;
}
